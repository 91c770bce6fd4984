#pragma once
// printf-style formatting into std::string. The device commands and the files use printf
// formats as they stand ("@Y%04d@", "Scan SPS S%d"), so they are written with these.
#include <cstdarg>
#include <string>

// MinGW builds format with its C99 printf (%zu, %lld as on Linux); the compiler checks the
// formats against that one, not against the Windows C library's.
#if defined(__MINGW32__)
#define COMMON_PRINTF_CHECK gnu_printf
#else
#define COMMON_PRINTF_CHECK printf
#endif

namespace common {

std::string Format(const char* format, ...) __attribute__((format(COMMON_PRINTF_CHECK, 1, 2)));
std::string FormatV(const char* format, va_list args);

// Bytes as "68 06 06 68 ..." (upper-case hex, one blank between bytes).
std::string HexBytes(const std::string& bytes);

}  // namespace common
