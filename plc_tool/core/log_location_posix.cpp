// The platform part of the log location on POSIX systems: the program file through
// /proc/self/exe and the per-user data folder from the XDG variables.
#include <cstdlib>

#include "plc_tool/core/log_location.h"

namespace quarnwin {

namespace fs = std::filesystem;

fs::path UserDataFolder() {
    fs::path data;
    // Any value, as the dialog's toolkit takes it, so that both programs meet in one folder.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        data = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        data = fs::path(home) / ".local" / "share";
    } else {
        return {};
    }
    return data / "Hadrel" / "QuarnWin";
}

// An installed program is recognised by its prefix's layout alone.
std::vector<fs::path> ProgramFilesFolders() {
    return {};
}

fs::path RunningProgramFolder() {
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : program.parent_path();
}

}  // namespace quarnwin
