#include "common/replacing_file.h"

#include <random>

#include "common/replacing_file_names.h"
#include "common/replacing_file_platform.h"
#include "common/utf8_path.h"

namespace common {

namespace fs = std::filesystem;

namespace {
constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kLetterCount = sizeof(kLetters) - 1;

bool IsLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}
}  // namespace

namespace replacing {

fs::path IncompleteNameFor(const fs::path& target) {
    static thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kLetterCount - 1);
    // UTF-8, so that no name is refused for its letters; cut on a character boundary.
    std::u8string kept = target.filename().u8string();
    if (kept.size() > kMaxKeptNameLength) {
        std::size_t cut = kMaxKeptNameLength;
        while (cut > 0 && (static_cast<unsigned char>(kept[cut]) & 0xC0) == 0x80) --cut;
        kept.resize(cut);
    }
    std::u8string name = u8"." + kept;
    for (const char c : std::string(kIncompleteMarker)) name += static_cast<char8_t>(c);
    for (std::size_t i = 0; i < kRandomLetters; ++i)
        name += static_cast<char8_t>(kLetters[pick(random)]);
    return target.parent_path() / fs::path(name);
}

}  // namespace replacing

bool IsIncompleteFileName(const std::string& fileName) {
    const std::string marker = replacing::kIncompleteMarker;
    const std::size_t tail = marker.size() + replacing::kRandomLetters;
    if (fileName.size() < tail + 1 || fileName.front() != '.') return false;
    const std::size_t at = fileName.size() - tail;
    if (fileName.compare(at, marker.size(), marker) != 0) return false;
    for (std::size_t i = at + marker.size(); i < fileName.size(); ++i)
        if (!IsLetterOrDigit(fileName[i])) return false;
    return true;
}

namespace {
// The file a write to the path reaches: a symbolic link is followed.
fs::path ResolveTarget(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    fs::path resolved = fs::weakly_canonical(path, ec);
    return ec ? path : resolved;
}

// IsIncompleteFileName for the file name of a path, whatever letters it holds.
bool IsIncompletePath(const fs::path& path) {
    return IsIncompleteFileName(Utf8FromPath(path.filename()));
}

// Temporary files in the folder whose writers have died; the next write into a folder clears
// them away.
void RemoveAbandonedFiles(const fs::path& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (IsIncompletePath(it->path())) replacing::RemoveIfAbandoned(it->path());
}
}  // namespace

// The write's one state machine: open() decides between a temporary file beside the target
// and, where the new file could not take the old one's place as an equal, writing the target
// itself; commit() puts the contents in place.
struct ReplacingFile::Impl {
    fs::path requested;
    fs::path target;
    replacing::TargetFile existing;
    replacing::TemporaryFile temporary;
    bool existed = false;
    bool inPlace = false;  // the contents are kept here and written into the target
    std::string buffer;
    bool failed = false;
    bool opened = false;

    void close() {
        temporary.remove();
        existing.close();
        buffer.clear();
        buffer.shrink_to_fit();
        inPlace = failed = opened = false;
    }

    // The temporary file's contents into the target itself, for a target that the new file
    // can't replace as an equal.
    bool copyInPlace() {
        std::string bytes;
        return existed && temporary.readBack(bytes) && existing.writeInPlace(bytes);
    }

    bool commitTemporary() {
        if (!temporary.flush()) return false;
        if (!temporary.takeOverAttributes(existing)) return copyInPlace();
        // A folder that lets us create but not replace (the sticky bit, a target of another
        // owner, a target held open by another program): the target itself is written.
        if (!temporary.replace(target)) return copyInPlace();
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
    using Found = replacing::TargetFile::Found;
    Impl& f = *impl_;
    f.close();
    f.target = ResolveTarget(f.requested);
    const Found found = f.existing.open(f.target);
    if (found == Found::Refused) return false;
    f.existed = found == Found::Writable;
    const bool replaceable = !f.existed || f.existing.replaceable();
    if (replaceable) {
        const fs::path folder = f.target.parent_path();
        RemoveAbandonedFiles(folder.empty() ? fs::path(".") : folder);
    }
    if (!replaceable || !f.temporary.create(f.target)) {
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
    } else if (!f.temporary.append(bytes)) {
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
    const bool good = f.inPlace ? f.existing.writeInPlace(f.buffer) : f.commitTemporary();
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

ReplaceResult ReplaceFileContents(const fs::path& target, std::string_view bytes) {
    ReplacingFile file(target);
    if (!file.open()) return ReplaceResult::NotOpened;
    if (!file.append(bytes) || !file.commit()) return ReplaceResult::WriteFailed;
    return ReplaceResult::Written;
}

bool WriteFileReplacing(const fs::path& target, std::string_view bytes) {
    return ReplaceFileContents(target, bytes) == ReplaceResult::Written;
}

}  // namespace common
