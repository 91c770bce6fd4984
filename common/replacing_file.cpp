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

bool IsIncompletePath(const fs::path& path) {
    const std::u8string name = path.filename().u8string();
    return IsIncompleteFileName(std::string(name.begin(), name.end()));
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
