#pragma once
// How the folder picker reads what the technician types: the path separator, drive letters
// and network paths where the platform has them, and turning a typed text into a path.
#include <filesystem>
#include <functional>
#include <string>

namespace quarnwin {

// The kind of a drive, as the platform reports it for a drive root ("C:\").
enum class DriveKind {
    Unknown,    // the type could not be determined
    NoRootDir,  // no such drive
    Removable,
    Fixed,
    Remote,
    CdRom,
    RamDisk,
};

struct FolderPathStyle {
    char separator = '/';
    // Drive letters ("C:", "C:\"), network paths ("\\server\share") and file names that
    // ignore letter case: the Windows rules.
    bool drives = false;
    // Asked for a drive root ("C:\") when drives is set.
    std::function<DriveKind(const std::string& root)> driveKind;

    // The rules of the machine the program runs on (drive kinds left unset: the front end
    // supplies them where drives exist).
    static FolderPathStyle Native();
    static FolderPathStyle Posix() { return FolderPathStyle{}; }

    bool IsSeparator(char c) const { return c == separator || (drives && c == '/'); }
    std::string Separator() const { return std::string(1, separator); }
    bool EndsWithSeparator(const std::string& text) const {
        return !text.empty() && IsSeparator(text.back());
    }

    // "C:" (exactly a letter and a colon).
    bool IsDriveLetter(const std::string& text) const;
    // "C:\" (a letter, a colon and a separator).
    bool IsDriveRoot(const std::string& text) const;
    // A text that starts with a drive letter and a colon.
    bool HasDrive(const std::string& text) const;
    // A text that starts with two separators ("\\server").
    bool IsNetworkPath(const std::string& text) const;
    // The drive's kind allows access (neither unknown nor without root directory).
    bool DriveIsValid(const std::string& text) const;
    // The kind of the drive a text starts with (Fixed where there are no drives).
    DriveKind DriveOf(const std::string& text) const;

    // The typed text as a path: relative texts start from the current folder.
    std::filesystem::path Resolve(const std::string& text, const std::string& currentFolder) const;
    // A folder path as the field shows it: normalised, written with this style's separator,
    // with one separator at the end.
    std::string FolderText(const std::filesystem::path& folder) const;
    // Names compare ignoring letter case where the file system does.
    bool SameName(const std::string& a, const std::string& b) const;
    bool StartsWithName(const std::string& name, const std::string& prefix) const;
};

}  // namespace quarnwin
