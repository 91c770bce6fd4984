#pragma once
// What both platform implementations of ReplacingFile share: the symbolic link rule and the
// names of the hidden temporary files.
#include <filesystem>
#include <string>

namespace common::replacing {

inline constexpr char kIncompleteMarker[] = ".~incomplete-";
inline constexpr std::size_t kRandomLetters = 6;
// Room left for the marker and the letters within a file name of at most 255 bytes.
inline constexpr std::size_t kMaxKeptNameLength = 200;

// The file a write to the path reaches: a symbolic link is followed.
std::filesystem::path ResolveTarget(const std::filesystem::path& path);

// A fresh hidden name beside the target: "." + the target's name (cut to
// kMaxKeptNameLength bytes) + kIncompleteMarker + kRandomLetters random letters and digits.
std::filesystem::path IncompleteNameFor(const std::filesystem::path& target);

// IsIncompleteFileName for the file name of a path, whatever letters it holds.
bool IsIncompletePath(const std::filesystem::path& path);

}  // namespace common::replacing
