#pragma once
// Whether a stream goes to a terminal, and how device data are shown there: a damaged or
// hostile device must not drive the technician's terminal with escape sequences.
#include <cstdio>
#include <string>

namespace cli {

bool IsTerminal(std::FILE* stream);

// The text with every control byte (0x00-0x1F but line feed and tab, and 0x7F) written as
// \xHH, for showing it on a terminal. Files keep the bytes as they are.
std::string EscapeControlBytes(const std::string& text);

}  // namespace cli
