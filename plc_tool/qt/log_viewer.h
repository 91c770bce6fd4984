#pragma once
// "Show Log": the system's text editor opens the log; the program does not wait for it, and
// nothing is said when no editor starts.
#include <QString>

namespace quarnwin {

void OpenLogViewer(const QString& logFile);

}  // namespace quarnwin
