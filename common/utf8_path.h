#pragma once
// Paths kept as UTF-8 in a std::string, on every platform. A std::filesystem::path made
// straight from a std::string takes the bytes in the system's 8-bit code page on Windows, so
// a name outside it ("Jürgen" on a Cyrillic system, a Cyrillic folder on a Western one) would
// name another file; these convert through UTF-8 explicitly. Every file name the programs take
// from a user, a dialog or a project file crosses into a path here.
#include <filesystem>
#include <string>

namespace common {

// Text that is no UTF-8 (a project file written on an 8-bit Windows system: "J\xFCrgen.kb")
// keeps its old meaning, the bytes in the system's code page, rather than ending the program.
std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace common
