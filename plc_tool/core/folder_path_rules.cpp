#include "plc_tool/core/folder_path_rules.h"

#include <algorithm>
#include <cctype>

#include "common/utf8_path.h"

namespace quarnwin {

namespace fs = std::filesystem;

namespace {
bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}
}  // namespace

FolderPathStyle FolderPathStyle::Native() {
#ifdef _WIN32
    FolderPathStyle style;
    style.separator = '\\';
    style.drives = true;
    return style;
#else
    return Posix();
#endif
}

bool FolderPathStyle::IsDriveLetter(const std::string& text) const {
    return drives && text.size() == 2 && IsLetter(text[0]) && text[1] == ':';
}

bool FolderPathStyle::IsDriveRoot(const std::string& text) const {
    return drives && text.size() == 3 && IsLetter(text[0]) && text[1] == ':' &&
           IsSeparator(text[2]);
}

bool FolderPathStyle::HasDrive(const std::string& text) const {
    return drives && text.size() >= 2 && IsLetter(text[0]) && text[1] == ':';
}

bool FolderPathStyle::IsNetworkPath(const std::string& text) const {
    return drives && text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1]);
}

DriveKind FolderPathStyle::DriveOf(const std::string& text) const {
    if (!HasDrive(text) || !driveKind) return DriveKind::Fixed;
    return driveKind(std::string{text[0], ':', separator});
}

bool FolderPathStyle::DriveIsValid(const std::string& text) const {
    DriveKind kind = DriveOf(text);
    return kind != DriveKind::Unknown && kind != DriveKind::NoRootDir;
}

fs::path FolderPathStyle::Resolve(const std::string& text, const std::string& currentFolder) const {
    fs::path typed = common::PathFromUtf8(text);
    fs::path path = typed.is_absolute() || typed.has_root_name() || typed.has_root_directory()
                        ? typed
                        : common::PathFromUtf8(currentFolder) / typed;
    return path.lexically_normal();
}

std::string FolderPathStyle::FolderText(const fs::path& folder) const {
    const fs::path normal = folder.lexically_normal();
    // The file system's own separator may differ from the style's (the POSIX rules on a
    // Windows file system): the text always uses the style's.
    std::string text;
    if (drives) {
        text = common::Utf8FromPath(normal);
        std::replace_if(
            text.begin(), text.end(), [](char c) { return c == '/' || c == '\\'; }, separator);
    } else {
        const std::u8string generic = normal.generic_u8string();
        text.assign(generic.begin(), generic.end());
        // "//" names the root as "/" does.
        while (text.size() >= 2 && text[0] == '/' && text[1] == '/') text.erase(0, 1);
    }
    if (!EndsWithSeparator(text)) text += separator;
    return text;
}

bool FolderPathStyle::SameName(const std::string& a, const std::string& b) const {
    if (a.size() != b.size()) return false;
    return StartsWithName(a, b);
}

bool FolderPathStyle::StartsWithName(const std::string& name, const std::string& prefix) const {
    if (prefix.size() > name.size()) return false;
    if (!drives) return name.compare(0, prefix.size(), prefix) == 0;
    return std::equal(prefix.begin(), prefix.end(), name.begin(),
                      [](char x, char y) { return Lower(x) == Lower(y); });
}

}  // namespace quarnwin
