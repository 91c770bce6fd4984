// ReplacingFile on Linux and other POSIX systems. The new contents go into an unnamed file
// (O_TMPFILE) in the target's folder, which gets a name only when it is complete and is then
// renamed over the target. Where the file system has no unnamed files, a hidden name is used
// from the start. Either file is locked (flock) while it is written, so that a later write
// into the folder can tell a temporary file whose writer has died (and remove it) from one
// that is still being written.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "common/replacing_file.h"
#include "common/replacing_file_names.h"

namespace common {

namespace fs = std::filesystem;

namespace {

constexpr mode_t kNewFileMode = 0666;  // reduced by the umask, as for any new file
constexpr mode_t kPermissionBits = 07777;
constexpr int kNameAttempts = 16;
constexpr char kOwnFileDescriptors[] = "/proc/self/fd";

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool ReadAll(int fd, std::string& bytes) {
    bytes.clear();
    char chunk[65536];
    off_t offset = 0;
    for (;;) {
        ssize_t n = ::pread(fd, chunk, sizeof chunk, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        bytes.append(chunk, static_cast<std::size_t>(n));
        offset += n;
    }
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Hidden temporary files left by a writer that has died: their lock is free. One that is
// still being written is locked and stays.
void RemoveAbandonedFiles(const fs::path& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path path = it->path();
        if (!replacing::IsIncompletePath(path)) continue;
        int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) continue;
        struct stat opened {};
        struct stat named {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
            S_ISREG(opened.st_mode) && ::lstat(path.c_str(), &named) == 0 &&
            SameFile(opened, named)) {
            ::unlink(path.c_str());
        }
        ::close(fd);
    }
}

// An unnamed file in the folder, or -1 where the system or the file system has none (or
// it could not be given a name later, as /proc is needed for that).
int CreateUnnamed(const fs::path& folder) {
#ifdef O_TMPFILE
    if (::access(kOwnFileDescriptors, X_OK) != 0) return -1;
    const fs::path where = folder.empty() ? fs::path(".") : folder;
    return ::open(where.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kNewFileMode);
#else
    (void)folder;
    errno = EOPNOTSUPP;
    return -1;
#endif
}

// Gives the unnamed file a hidden name beside the target; the name, or empty.
fs::path NameUnnamed(int fd, const fs::path& target) {
    const std::string self = std::string(kOwnFileDescriptors) + "/" + std::to_string(fd);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        fs::path name = replacing::IncompleteNameFor(target);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return name;
#ifdef AT_EMPTY_PATH
        if (errno != EEXIST && ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0)
            return name;
#endif
        if (errno != EEXIST) break;
    }
    return {};
}

// A new hidden file beside the target, locked; -1 when none can be created there.
int CreateNamed(const fs::path& target, fs::path& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = replacing::IncompleteNameFor(target);
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                        kNewFileMode);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return -1;
        }
        // Another program's clean-up may have taken the file between creating and
        // locking it: then the name no longer leads to this file.
        struct stat opened {};
        struct stat named {};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &opened) == 0 &&
            ::lstat(name.c_str(), &named) == 0 && SameFile(opened, named))
            return fd;
        ::close(fd);
    }
    name.clear();
    return -1;
}

}  // namespace

struct ReplacingFile::Impl {
    fs::path requested;
    fs::path target;
    int targetFd = -1;  // the existing target, opened for writing without changing it
    int tempFd = -1;
    fs::path tempName;  // empty while the temporary file has no name
    bool existed = false;
    struct stat old {};
    bool inPlace = false;  // the contents are kept here and written into the target
    std::string buffer;
    bool failed = false;
    bool opened = false;

    void close() {
        if (!tempName.empty()) ::unlink(tempName.c_str());
        tempName.clear();
        CloseFd(tempFd);
        CloseFd(targetFd);
        buffer.clear();
        buffer.shrink_to_fit();
        inPlace = failed = opened = false;
    }

    // The old file's permission bits, owner and group on the new file. False when the owner
    // or group differ and can't be set.
    bool takeOverAttributes() {
        if (!existed) return true;
        struct stat now {};
        if (::fstat(tempFd, &now) != 0) return false;
        if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
            ::fchown(tempFd, old.st_uid, old.st_gid) != 0)
            return false;
        return ::fchmod(tempFd, old.st_mode & kPermissionBits) == 0;
    }

    bool writeInPlace(std::string_view bytes) {
        if (targetFd < 0) return false;
        const bool regular = S_ISREG(old.st_mode);
        if (regular && (::ftruncate(targetFd, 0) != 0 || ::lseek(targetFd, 0, SEEK_SET) != 0))
            return false;
        bool good = WriteAll(targetFd, bytes);
        if (good && regular) good = ::fsync(targetFd) == 0;
        good = ::close(targetFd) == 0 && good;
        targetFd = -1;
        return good;
    }

    // The temporary file's contents into the target itself, for a target that the new file
    // can't replace as an equal.
    bool copyInPlace() {
        std::string bytes;
        if (!ReadAll(tempFd, bytes)) return false;
        return writeInPlace(bytes);
    }

    bool commitTemporary() {
        // The contents reach the disk before the name does.
        if (::fsync(tempFd) != 0) return false;
        if (!takeOverAttributes()) return copyInPlace();
        if (tempName.empty()) {
            tempName = NameUnnamed(tempFd, target);
            if (tempName.empty()) return copyInPlace();
        }
        if (::rename(tempName.c_str(), target.c_str()) != 0) {
            // A folder that lets us create but not replace (the sticky bit, a target of
            // another owner): the target itself is written.
            ::unlink(tempName.c_str());
            tempName.clear();
            return existed && copyInPlace();
        }
        // The folder is not synced: after a crash it shows the old file or the new one,
        // both whole, and a sync of the folder would cost an upload some milliseconds per
        // file.
        tempName.clear();
        return true;
    }
};

ReplacingFile::ReplacingFile(fs::path target) : impl_(std::make_unique<Impl>()) {
    impl_->requested = std::move(target);
    impl_->target = impl_->requested;
}

ReplacingFile::~ReplacingFile() {
    discard();
}

bool ReplacingFile::open() {
    Impl& f = *impl_;
    f.close();
    f.target = replacing::ResolveTarget(f.requested);
    const fs::path folder = f.target.parent_path();

    f.existed = ::stat(f.target.c_str(), &f.old) == 0;
    if (f.existed) {
        if (S_ISDIR(f.old.st_mode)) return false;
        // Exactly the test a plain open for writing makes, without changing the file.
        f.targetFd = ::open(f.target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (f.targetFd < 0) return false;
    } else if (errno != ENOENT) {
        return false;
    }

    const bool replaceable = !f.existed || (S_ISREG(f.old.st_mode) && f.old.st_nlink == 1);
    if (replaceable) {
        RemoveAbandonedFiles(folder.empty() ? fs::path(".") : folder);
        f.tempFd = CreateUnnamed(folder);
        if (f.tempFd >= 0 && ::flock(f.tempFd, LOCK_EX) != 0) CloseFd(f.tempFd);
        if (f.tempFd < 0) f.tempFd = CreateNamed(f.target, f.tempName);
    }
    if (f.tempFd < 0) {
        // No temporary file beside the target: only an existing target can still be
        // written, in place.
        if (!f.existed) return false;
        f.inPlace = true;
    }
    f.opened = true;
    return true;
}

bool ReplacingFile::append(std::string_view bytes) {
    Impl& f = *impl_;
    if (!f.opened || f.failed) return false;
    if (f.inPlace) {
        f.buffer.append(bytes);
    } else if (!WriteAll(f.tempFd, bytes)) {
        f.failed = true;
    }
    return !f.failed;
}

bool ReplacingFile::commit() {
    Impl& f = *impl_;
    if (!f.opened || f.failed) {
        f.close();
        return false;
    }
    const bool good = f.inPlace ? f.writeInPlace(f.buffer) : f.commitTemporary();
    f.close();
    return good;
}

void ReplacingFile::discard() {
    impl_->close();
}

bool ReplacingFile::replacesExisting() const {
    return impl_->existed;
}

const fs::path& ReplacingFile::resolvedTarget() const {
    return impl_->target;
}

}  // namespace common
