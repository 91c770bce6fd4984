#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// windows.h first
#include <shellapi.h>

#include "cli/arguments.h"

namespace cli {

namespace {

std::string Utf8FromWide(const wchar_t* wide) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), length, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(length - 1));
    return utf8;
}

}  // namespace

std::vector<std::string> Utf8Arguments(int argc, const char* const* argv) {
    std::vector<std::string> args;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    // The wide line splits as the C runtime split argv; should it not, argv is all there is.
    if (wide != nullptr && count == argc) {
        for (int i = 1; i < count; ++i) args.push_back(Utf8FromWide(wide[i]));
    } else {
        for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    }
    if (wide != nullptr) ::LocalFree(wide);
    return args;
}

}  // namespace cli
