#pragma once
// Where QuarnWin and quarnctl keep the transfer log log.txt.
//
// A program run from a build tree or from a folder of its own keeps log.txt beside its
// program file, as the device's technicians know it. A program installed under a system
// prefix (its file in the bin/ folder of a prefix that also has a share/ folder: /usr/bin,
// /usr/local/bin, ~/.local/bin) never writes into its installation folders, even as root:
// its log lives in the per-user data folder. On Windows a program inside a Program Files
// folder counts as installed in the same way, even when run by an administrator. The dialog
// and quarnctl choose the same folder, so their logs meet.
#include <filesystem>
#include <vector>

namespace quarnwin {

// True when `programFolder` is the bin/ folder of an installation prefix: its name is "bin"
// and a folder "share" stands beside it.
bool IsInstalledUnderPrefix(const std::filesystem::path& programFolder);

// True when `programFolder` lies inside one of `programFilesFolders`, names compared as
// Windows compares them (ignoring the case of letters). Empty entries stand for no folder.
bool IsInsideProgramFiles(const std::filesystem::path& programFolder,
                          const std::vector<std::filesystem::path>& programFilesFolders);

// The system's folders for installed programs: on Windows the Program Files folders
// (%ProgramFiles%, %ProgramW6432%, %ProgramFiles(x86)%); none elsewhere.
std::vector<std::filesystem::path> ProgramFilesFolders();

// True when the program in `programFolder` is installed: under a prefix, or inside one of
// the system's folders for installed programs.
bool IsInstalled(const std::filesystem::path& programFolder);

// True when log.txt in folder can be opened for appending (it is created when missing): the
// folder may be written by this user, whatever its permission bits or attributes say.
bool LogWritableIn(const std::filesystem::path& folder);

// The folder of log.txt: `programFolder` when the program is not installed and may write
// there, else `userDataFolder`.
std::filesystem::path ChooseLogFolder(const std::filesystem::path& programFolder,
                                      bool programFolderWritable,
                                      const std::filesystem::path& userDataFolder);

// The folder of log.txt for a program in `programFolder`: ChooseLogFolder with the program
// folder's writability found out by LogWritableIn, which is tried (and log.txt created) only
// when the program is not installed.
std::filesystem::path LogFolderFor(const std::filesystem::path& programFolder,
                                   const std::filesystem::path& userDataFolder);

// QuarnWin's per-user data folder without Qt: $XDG_DATA_HOME/Hadrel/QuarnWin, or
// ~/.local/share/Hadrel/QuarnWin when XDG_DATA_HOME is empty; the folder the dialog's
// toolkit names for it. Empty when the environment names no home.
std::filesystem::path UserDataFolder();

// The folder of the running program's file; empty when it cannot be found out.
std::filesystem::path RunningProgramFolder();

// quarnctl's default log: log.txt in the folder ChooseLogFolder picks for the running
// program; the per-user folder is created when it is the one. Empty when no folder is known.
std::filesystem::path DefaultLogFile();

}  // namespace quarnwin
