#pragma once
// Whether a stream goes to a terminal, and how device data are shown there: a damaged or
// hostile device must not drive the technician's terminal with escape sequences.
#include <cstddef>
#include <cstdio>
#include <string>

namespace cli {

bool IsTerminal(std::FILE* stream);

// Whether the terminal behind the stream erases to the end of a line on "\033[K". A Windows
// console is asked to switch its virtual-terminal processing on; one that can't, and a dumb
// terminal, get the line rewritten with spaces instead.
bool CanEraseLine(std::FILE* stream);

// The bytes that show text in place of the line of previousWidth characters the cursor is on:
// a carriage return, the text, then the erase sequence, or where the terminal has none as many
// spaces as the old line was longer.
std::string RewriteLine(const std::string& text, std::size_t previousWidth, bool canErase);

// The text with every control byte (0x00-0x1F but line feed and tab, and 0x7F) written as
// \xHH, for showing it on a terminal. Files keep the bytes as they are.
std::string EscapeControlBytes(const std::string& text);

}  // namespace cli
