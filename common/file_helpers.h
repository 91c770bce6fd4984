#pragma once
// Small file helpers shared by the tools: reading text files written on either platform and
// finding files named in lower or mixed case. Writing a file whole is replacing_file.h.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/replacing_file.h"

namespace common {

// Splits text into lines; a line ends at "\n", and a "\r" right before it is dropped. A last
// line without "\n" is kept when it is not empty.
std::vector<std::string> SplitTextLines(const std::string& text);

// Reads a whole file as bytes; nullopt when it can't be opened or read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// The file as named when it exists with that exact case; else the one entry of its folder
// whose name matches ignoring ASCII letter case (the first in name order when several do);
// else nullopt.
std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& path);

}  // namespace common
