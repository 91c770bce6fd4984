#pragma once
// The names of ReplacingFile's hidden temporary files: made by the platform files
// (replacing_file_posix.cpp, replacing_file_win32.cpp), recognised by replacing_file.cpp.
#include <filesystem>
#include <string>

namespace common::replacing {

inline constexpr char kIncompleteMarker[] = ".~incomplete-";
inline constexpr std::size_t kRandomLetters = 6;
// Room left for the marker and the letters within a file name of at most 255 bytes.
inline constexpr std::size_t kMaxKeptNameLength = 200;

// A fresh hidden name beside the target: "." + the target's name (cut to
// kMaxKeptNameLength bytes) + kIncompleteMarker + kRandomLetters random letters and digits.
std::filesystem::path IncompleteNameFor(const std::filesystem::path& target);

}  // namespace common::replacing
