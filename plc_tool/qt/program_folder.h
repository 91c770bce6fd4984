#pragma once
// The folder the program keeps its log in: the folder of the program file when the program
// may write there, else the per-user data folder. Ends with "/".
#include <QString>

namespace quarnwin {

QString ProgramFolder();

}  // namespace quarnwin
