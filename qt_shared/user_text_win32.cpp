#include <windows.h>

#include <cstdio>
#include <string>

#include "qt_shared/user_text.h"

namespace qtshared {

namespace {
// A handle the program may write to: the console, a pipe or a file it was given.
bool HasHandle(DWORD which) {
    HANDLE out = GetStdHandle(which);
    return out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN;
}

void Show(DWORD which, FILE* stream, UINT icon, const QString& title, const QString& text) {
    if (HasHandle(which)) {
        const QByteArray bytes = text.toLocal8Bit();
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
        std::fflush(stream);
        return;
    }
    const std::wstring caption = title.toStdWString();
    const std::wstring body = text.trimmed().toStdWString();
    MessageBoxW(nullptr, body.c_str(), caption.c_str(), MB_OK | icon);
}
}  // namespace

void ShowUserText(const QString& title, const QString& text) {
    Show(STD_OUTPUT_HANDLE, stdout, MB_ICONINFORMATION, title, text);
}

void ShowUsageError(const QString& title, const QString& text) {
    Show(STD_ERROR_HANDLE, stderr, MB_ICONWARNING, title, text);
}

}  // namespace qtshared
