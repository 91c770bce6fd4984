#pragma once
// The text file beside a setup file: its lines are the lines of the display's text pages,
// each sent as exactly 40 characters in a "@TK" command.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "setup_tool/core/setup_record.h"

namespace setup {

inline constexpr std::size_t kTextLineWidth = 40;

// The text file's name from the setup file's: the file name's extension becomes ".txt";
// folders and the rest of the name are kept.
std::filesystem::path TextFilePathFor(const std::filesystem::path& setupPath);

// The text file itself: that path, or the file in its folder whose name matches it
// ignoring letter case; nullopt when there is none.
std::optional<std::filesystem::path> FindTextFile(const std::filesystem::path& setupPath);

// The setup file for a chosen text file: the file name's extension becomes ".set" (a name
// without one gets ".set" appended); folders and the rest of the name are kept.
std::filesystem::path SetupPathForTextFile(const std::filesystem::path& textPath);

// A line of the file as the display takes it: every "\r" removed, cut to 40 characters,
// filled up with blanks to 40.
std::string TextLine(const std::string& raw);

struct TextPageLine {
    int page = 0;      // from 0
    int line = 0;      // within the page, from 1
    std::string text;  // 40 characters
};

// The lines of a text file's contents in page order, up to the variant's page limit.
// A line ends at a line feed; a last line without one counts.
std::vector<TextPageLine> TextPageLines(const std::string& contents, const DisplayVariant& variant);

// "@TK%04d/%02d/%40s".
std::string TkCommand(const TextPageLine& line);

// "Text page: %04d", the status text after a page's last line.
std::string TextPageStatus(int page);

}  // namespace setup
