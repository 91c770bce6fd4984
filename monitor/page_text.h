#pragma once
// A page as plain text, for a terminal: 7 bands of 8 cells, each band three lines (the
// symbol, operand and value rows of its cells) with every cell in a column 10 characters
// wide and one blank between columns, and a blank line between bands. Cells past the page's
// used cells are blank. Trailing blanks are left off the lines; the texts' Latin-1
// characters (a BYTEA zero byte shows as 0xED) are written in UTF-8.
#include <string>

#include "monitor/display_page.h"

namespace monitor {

inline constexpr size_t kTextColumnWidth = 10;

// The lines of the page, each ended by "\n".
std::string PageAsText(const DisplayPage& page);

// The line of dashes that separates two pages, as wide as a band, with its "\n".
std::string PageSeparatorLine();

// Latin-1 bytes as UTF-8.
std::string Latin1ToUtf8(const std::string& text);

}  // namespace monitor
