#pragma once
// The folder the program keeps its log in: the folder of the program file when the program
// runs from a build or a folder of its own and may write there; the per-user data folder
// (AppLocalDataLocation, ~/.local/share/Hadrel/QuarnWin) when it is installed (under a
// prefix, or inside Program Files on Windows) or its folder is read-only. Ends with "/".
#include <QString>

namespace quarnwin {

QString ProgramFolder();

}  // namespace quarnwin
