#pragma once
// The value row of a cell: element k of a variable, formatted from the bytes the page read
// brought for it. Multi-byte elements are little-endian; element k of a 16-bit type starts
// at byte 2k, of a 32-bit type at byte 4k. The bytes given run from the variable's first byte
// to the end of what the page received, so a text reads on into the variables that follow
// (a variable of length 0 shows its neighbour's bytes, as the device does); a byte beyond
// the received ones counts as 0 in a number and ends a BYTEA text.
#include <cstdint>
#include <string>
#include <string_view>

#include "monitor/variable_list.h"

namespace monitor {

inline constexpr size_t kValueTextMax = 11;
inline constexpr const char* kNoAddressText = "XXXXXXXXX";

// The received bytes from the variable's first one on; reads past the end give 0.
class VariableBytes {
  public:
    explicit VariableBytes(std::string_view bytes) : bytes_(bytes) {}
    bool received(size_t offset) const { return offset < bytes_.size(); }
    std::uint8_t byte(size_t offset) const {
        return offset < bytes_.size() ? static_cast<std::uint8_t>(bytes_[offset]) : 0;
    }
    std::uint16_t word(size_t offset) const {
        return static_cast<std::uint16_t>(byte(offset) | (byte(offset + 1) << 8));
    }
    std::uint32_t doubleWord(size_t offset) const {
        return static_cast<std::uint32_t>(word(offset)) |
               (static_cast<std::uint32_t>(word(offset + 2)) << 16);
    }

  private:
    std::string_view bytes_;
};

// Eight characters '0'/'1', bit 0 first, with one blank after the fourth: 0x01 gives
// "1000 0000".
std::string FormatBitString(std::uint8_t byte);

// The value text of element k (at most 11 characters) under the variable's display code:
// "XXXXXXXXX" for a variable with address 0 (LEER excepted); LEER and ILLO are empty. The
// memory read generation decides whether the PLC can read the indexed types at all.
std::string FormatValueText(const VariableEntry& entry, int k, std::uint8_t readGeneration,
                            std::string_view data);

}  // namespace monitor
