// The files of a ReplacingFile on Linux and other POSIX systems. The new contents go into an
// unnamed file (O_TMPFILE) in the target's folder, which gets a name only when it is complete
// and is then renamed over the target. Where the file system has no unnamed files, a hidden name is
// used from the start. Either file is locked (flock) while it is written, so that a later write
// into the folder can tell a temporary file whose writer has died (and remove it) from one
// that is still being written.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "common/replacing_file_names.h"
#include "common/replacing_file_platform.h"

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

namespace replacing {

struct TargetFile::Native {
    int fd = -1;  // the existing target, opened for writing without changing it
    bool found = false;
    struct stat old {};
};

TargetFile::TargetFile() : native_(std::make_unique<Native>()) {}
TargetFile::~TargetFile() {
    close();
}

TargetFile::Found TargetFile::open(const fs::path& target) {
    Native& t = *native_;
    close();
    t.found = ::stat(target.c_str(), &t.old) == 0;
    if (!t.found) return errno == ENOENT ? Found::Missing : Found::Refused;
    if (S_ISDIR(t.old.st_mode)) return Found::Refused;
    // Exactly the test a plain open for writing makes, without changing the file.
    t.fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    return t.fd < 0 ? Found::Refused : Found::Writable;
}

bool TargetFile::replaceable() const {
    return S_ISREG(native_->old.st_mode) && native_->old.st_nlink == 1;
}

bool TargetFile::writeInPlace(std::string_view bytes) {
    Native& t = *native_;
    if (t.fd < 0) return false;
    const bool regular = S_ISREG(t.old.st_mode);
    if (regular && (::ftruncate(t.fd, 0) != 0 || ::lseek(t.fd, 0, SEEK_SET) != 0)) return false;
    bool good = WriteAll(t.fd, bytes);
    if (good && regular) good = ::fsync(t.fd) == 0;
    good = ::close(t.fd) == 0 && good;
    t.fd = -1;
    return good;
}

void TargetFile::close() {
    CloseFd(native_->fd);
    native_->found = false;
}

// Unlinked and closed when it goes, unless it has become the target.
struct TemporaryFile::Native {
    int fd = -1;
    fs::path name;  // empty while the file has no name
    ~Native() {
        if (!name.empty()) ::unlink(name.c_str());
        CloseFd(fd);
    }
};

TemporaryFile::TemporaryFile() : native_(std::make_unique<Native>()) {}
TemporaryFile::~TemporaryFile() = default;

bool TemporaryFile::create(const fs::path& target) {
    remove();
    Native& t = *native_;
    t.fd = CreateUnnamed(target.parent_path());
    if (t.fd >= 0 && ::flock(t.fd, LOCK_EX) != 0) CloseFd(t.fd);
    if (t.fd < 0) t.fd = CreateNamed(target, t.name);
    return t.fd >= 0;
}

bool TemporaryFile::append(std::string_view bytes) {
    return native_->fd >= 0 && WriteAll(native_->fd, bytes);
}

bool TemporaryFile::readBack(std::string& bytes) {
    return native_->fd >= 0 && ReadAll(native_->fd, bytes);
}

bool TemporaryFile::flush() {
    return native_->fd >= 0 && ::fsync(native_->fd) == 0;
}

bool TemporaryFile::takeOverAttributes(const TargetFile& old) {
    const TargetFile::Native& o = *old.native_;
    if (!o.found) return true;
    struct stat now {};
    if (::fstat(native_->fd, &now) != 0) return false;
    if ((now.st_uid != o.old.st_uid || now.st_gid != o.old.st_gid) &&
        ::fchown(native_->fd, o.old.st_uid, o.old.st_gid) != 0)
        return false;
    return ::fchmod(native_->fd, o.old.st_mode & kPermissionBits) == 0;
}

bool TemporaryFile::replace(const fs::path& target) {
    Native& t = *native_;
    if (t.fd < 0) return false;
    if (t.name.empty()) {
        t.name = NameUnnamed(t.fd, target);
        if (t.name.empty()) return false;
    }
    if (::rename(t.name.c_str(), target.c_str()) != 0) return false;
    // The folder is not synced: after a crash it shows the old file or the new one, both
    // whole, and a sync of the folder would cost an upload some milliseconds per file.
    t.name.clear();
    return true;
}

void TemporaryFile::remove() {
    native_ = std::make_unique<Native>();
}

// A writer that has died leaves its lock free; one still writing holds it.
void RemoveIfAbandoned(const fs::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return;
    struct stat opened {};
    struct stat named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
        S_ISREG(opened.st_mode) && ::lstat(path.c_str(), &named) == 0 && SameFile(opened, named))
        ::unlink(path.c_str());
    ::close(fd);
}

}  // namespace replacing
}  // namespace common
