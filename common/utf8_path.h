#pragma once
// Paths kept as UTF-8 in a std::string, on every platform. A std::filesystem::path made
// straight from a std::string takes the system's 8-bit code page on Windows, so a name
// outside it ("Jürgen" on a Cyrillic system, a Cyrillic folder on a Western one) would name
// another file; these convert through UTF-8 explicitly.
#include <filesystem>
#include <string>

namespace common {

std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace common
