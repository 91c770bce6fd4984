#pragma once
// Symbol files (".ot"): one variable per line in fixed columns (0-based):
//
//   columns  field        conversion
//   0-2      line number  leading blanks removed; must begin with a digit, else the line is
//                         skipped (headings, comments, blank lines); not kept
//   4-8      type         keyword, trailing blanks removed; starts in column 4
//   10-19    operand      trailing blanks removed
//   21-29    symbol       trailing blanks removed
//   32-35    number       decimal
//   37-41    lastNumber   decimal
//   42-43    column       decimal
//   45-47    sub          decimal
//   49-51    bit          decimal
//   53-56    cells        decimal
//   58-61    address      hexadecimal, optional sign and "0x"
//   63-65    length       decimal
//
// Lines shorter than 6 characters are skipped. A field past the end of the line is empty;
// numbers that are missing or not numeric are 0, and are kept in the field's width.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/frontend.h"
#include "monitor/variable_list.h"

namespace monitor {

inline constexpr const char* kTypeNotFoundText = "Typ not found";
inline constexpr const char* kTooManyVariablesText =
    "The symbol file holds more than 256 variables; only the first 256 are shown";

// What one line of a symbol file is.
struct SymbolLine {
    enum class Kind { kSkipped, kUnknownType, kVariable };
    Kind kind = Kind::kSkipped;
    VariableEntry entry;  // for kVariable
};

SymbolLine ParseSymbolLine(std::string_view line);

// Blanks skipped, an optional sign, then digits up to the first other character; no digits
// give 0. The result wraps like the C conversions into the caller's field width.
std::uint32_t ParseDecimal(std::string_view text);
// The same with hexadecimal digits and an optional "0x" or "0X" after the sign.
std::uint32_t ParseHexadecimal(std::string_view text);

struct SymbolFileResult {
    enum class Status {
        kLoaded,        // the list holds the file's variables (none when it can't be read)
        kTypeNotFound,  // "Typ not found" was shown; the display must not start
    };
    Status status = Status::kLoaded;
    size_t count = 0;  // variables in the list
    // True when variable lines beyond the list's 256 were left out (and a message said so).
    bool truncated = false;
};

// Empties the list and fills it from the file. A file that can't be read gives an empty list
// without a message. A type keyword not in the table shows "Typ not found" and ends the
// reading. Variable lines beyond the 256th are not read; a message tells the technician.
[[nodiscard]] SymbolFileResult LoadSymbolFile(const std::filesystem::path& path, VariableList& list,
                                              common::Frontend& frontend);

}  // namespace monitor
