#include "common/replacing_file.h"

#include <random>

#include "common/replacing_file_names.h"

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

fs::path ResolveTarget(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    fs::path resolved = fs::weakly_canonical(path, ec);
    return ec ? path : resolved;
}

fs::path IncompleteNameFor(const fs::path& target) {
    static thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kLetterCount - 1);
    std::string name = "." + target.filename().string().substr(0, kMaxKeptNameLength);
    name += kIncompleteMarker;
    for (std::size_t i = 0; i < kRandomLetters; ++i) name += kLetters[pick(random)];
    return target.parent_path() / name;
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
