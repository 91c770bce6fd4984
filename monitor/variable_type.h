#pragma once
// The variable types of a symbol file. The code of a type is its index in the keyword table;
// the symbol file names the type by its keyword, written from column 4 on.
#include <cstdint>
#include <optional>
#include <string_view>

namespace monitor {

enum class VariableType : std::uint8_t {
    kBit = 0,     // BIT: one bit of byte k
    kBitf = 1,    // BITF: byte k as a bit string
    kByte = 2,    // BYTE: byte k, unsigned decimal
    kWort = 3,    // WORT: 16-bit word k, signed
    kDwort = 4,   // DWORT: 32-bit word k, signed
    kBwort = 5,   // BWORT: byte k as a bit string, 16-bit operand numbering
    kKsm = 6,     // KSM: byte k as a bit string, one operand for all cells
    kWorth = 7,   // WORTH: 16-bit word k, hexadecimal
    kDwrth = 8,   // DWRTH: 32-bit word k, hexadecimal
    kLeer = 9,    // LEER: nothing read, only the symbol shown
    kBytea = 10,  // BYTEA: nine characters from byte k on
    kIndmw = 11,  // INDMW: indexed word in the INDMW segment
    kIndxw = 12,  // INDXW: indexed word in the INDXW segment
    kExtea = 13,  // EXTEA: 16-bit word k of an extension module, signed
    kExtbf = 14,  // EXTBF: byte k of an extension module as a bit string
    kExtb = 15,   // EXTB: one bit of byte k of an extension module
    kByteh = 16,  // BYTEH: byte k, hexadecimal
    kIllo = 17,   // ILLO: read with the page, never shown
    // Never stored: the display code of a variable whose address is 0 (and is not LEER).
    kNoAddress = 18,
};

inline constexpr int kTypeKeywordCount = 18;

// The keyword table in search order (index = type code).
inline constexpr std::string_view kTypeKeywords[kTypeKeywordCount] = {
    "BIT",  "BITF",  "BYTE",  "WORT",  "DWORT", "BWORT", "KSM",  "WORTH", "DWRTH",
    "LEER", "BYTEA", "INDMW", "INDXW", "EXTEA", "EXTBF", "EXTB", "BYTEH", "ILLO",
};

// The type whose keyword is exactly this text (case-sensitive); nullopt when none.
std::optional<VariableType> FindTypeKeyword(std::string_view keyword);

// The type's keyword, or "" for the display code.
std::string_view TypeKeyword(VariableType type);

}  // namespace monitor
