#include "plc_tool/core/log_location.h"

#include <algorithm>
#include <fstream>

namespace quarnwin {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLogFileName = "log.txt";

}  // namespace

// Opening the log for appending is the only test of a folder's writability that needs no
// platform call and holds on every platform (on Windows a folder's attributes say nothing
// about the user's rights in it); it creates the log, which the run is about to write anyway.
bool LogWritableIn(const fs::path& folder) {
    std::ofstream out(folder / kLogFileName, std::ios::app);
    return static_cast<bool>(out);
}

bool IsInstalledUnderPrefix(const fs::path& programFolder) {
    fs::path folder = programFolder.lexically_normal();
    if (!folder.has_filename()) folder = folder.parent_path();  // "…/bin/"
    if (folder.filename() != "bin") return false;
    std::error_code ec;
    return fs::is_directory(folder.parent_path() / "share", ec);
}

namespace {

// A folder without a trailing separator, so that its last element is its name.
fs::path WithoutTrailingSeparator(const fs::path& folder) {
    fs::path normal = folder.lexically_normal();
    return normal.has_filename() ? normal : normal.parent_path();
}

bool SameNameIgnoringCase(const fs::path& a, const fs::path& b) {
    const auto lower = [](auto c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; };
    return std::ranges::equal(a.native(), b.native(),
                              [&](auto x, auto y) { return lower(x) == lower(y); });
}

}  // namespace

bool IsInsideProgramFiles(const fs::path& programFolder,
                          const std::vector<fs::path>& programFilesFolders) {
    const fs::path program = WithoutTrailingSeparator(programFolder);
    return std::ranges::any_of(programFilesFolders, [&](const fs::path& root) {
        if (root.empty()) return false;
        const fs::path top = WithoutTrailingSeparator(root);
        auto name = program.begin();
        for (const fs::path& element : top) {
            if (name == program.end() || !SameNameIgnoringCase(*name, element)) return false;
            ++name;
        }
        return true;
    });
}

bool IsInstalled(const fs::path& programFolder) {
    return IsInstalledUnderPrefix(programFolder) ||
           IsInsideProgramFiles(programFolder, ProgramFilesFolders());
}

fs::path ChooseLogFolder(const fs::path& programFolder, bool programFolderWritable,
                         const fs::path& userDataFolder) {
    if (programFolder.empty() || IsInstalled(programFolder) || !programFolderWritable)
        return userDataFolder;
    return programFolder;
}

fs::path LogFolderFor(const fs::path& programFolder, const fs::path& userDataFolder) {
    // An installed program's folder is never written, not even to try it.
    const bool besideProgram =
        !programFolder.empty() && !IsInstalled(programFolder) && LogWritableIn(programFolder);
    return ChooseLogFolder(programFolder, besideProgram, userDataFolder);
}

fs::path DefaultLogFile() {
    const fs::path folder = LogFolderFor(RunningProgramFolder(), UserDataFolder());
    if (folder.empty()) return {};
    std::error_code ec;
    fs::create_directories(folder, ec);  // a failure shows when the log is written
    return folder / kLogFileName;
}

}  // namespace quarnwin
