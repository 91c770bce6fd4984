// The platform part of the log location on Windows: the program file from the module name
// and the per-user data folder under %LOCALAPPDATA%, where the dialog's toolkit puts it.
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "plc_tool/core/log_location.h"

namespace quarnwin {

namespace fs = std::filesystem;

fs::path UserDataFolder() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (!local || !*local) return {};
    return fs::path(local) / "Hadrel" / "QuarnWin";
}

// A 64-bit program sees the 64-bit folder as %ProgramFiles% and %ProgramW6432%.
std::vector<fs::path> ProgramFilesFolders() {
    std::vector<fs::path> folders;
    for (const wchar_t* name : {L"ProgramFiles", L"ProgramW6432", L"ProgramFiles(x86)"}) {
        const wchar_t* folder = _wgetenv(name);
        if (folder && *folder) folders.emplace_back(folder);
    }
    return folders;
}

fs::path RunningProgramFolder() {
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) return fs::path(std::wstring(name.data(), length)).parent_path();
        name.resize(name.size() * 2);  // the name was cut: ask again with more room
    }
}

}  // namespace quarnwin
