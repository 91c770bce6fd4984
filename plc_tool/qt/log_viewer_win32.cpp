#include <windows.h>

#include <string>

#include "plc_tool/qt/log_viewer.h"

namespace quarnwin {

void OpenLogViewer(const QString& logFile) {
    // Notepad takes the rest of its command line as the file name; the quotes keep a folder
    // with blanks ("C:\Program Files\...") whole.
    std::wstring command =
        L"notepad \"" + QString(logFile).replace('/', '\\').toStdWString() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

}  // namespace quarnwin
