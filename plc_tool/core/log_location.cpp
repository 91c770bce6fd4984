#include "plc_tool/core/log_location.h"

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

fs::path ChooseLogFolder(const fs::path& programFolder, bool programFolderWritable,
                         const fs::path& userDataFolder) {
    if (programFolder.empty() || IsInstalledUnderPrefix(programFolder) || !programFolderWritable)
        return userDataFolder;
    return programFolder;
}

fs::path DefaultLogFile() {
    const fs::path program = RunningProgramFolder();
    const bool besideProgram =
        !program.empty() && !IsInstalledUnderPrefix(program) && LogWritableIn(program);
    const fs::path folder = ChooseLogFolder(program, besideProgram, UserDataFolder());
    if (folder.empty()) return {};
    std::error_code ec;
    fs::create_directories(folder, ec);  // a failure shows when the log is written
    return folder / kLogFileName;
}

}  // namespace quarnwin
