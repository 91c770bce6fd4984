#pragma once
// The PLC information block: 246 bytes the PLC sends on command 0x2F (firmware 2.0 and
// later). Until then the built-in defaults stand. Words are little-endian.
//
//   offset  size  meaning                                               default
//   1       1     PLC variant: which module kinds may be downloaded     0
//   2       1     memory read generation: above 1 list reads use 0x0D  1
//   4       2     address of the PLC directory (read with 0x01)        0x1000
//   6       2     configuration segment: configuration block, pages    0x6000
//   8       2     page size in bytes                                   0x0200
//   54      2     segment word of INDMW variables                      0x0400
//   70      2     segment word of INDXW variables                      0x3000
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace plc {

class InfoBlock {
  public:
    static constexpr size_t kSize = 246;
    static constexpr size_t kVariant = 1;
    static constexpr size_t kReadGeneration = 2;
    static constexpr size_t kDirectoryAddress = 4;
    static constexpr size_t kConfigurationSegment = 6;
    static constexpr size_t kPageSize = 8;
    static constexpr size_t kIndmwSegment = 54;
    static constexpr size_t kIndxwSegment = 70;

    InfoBlock();  // the built-in defaults

    std::uint8_t variant() const { return bytes_[kVariant]; }
    std::uint8_t readGeneration() const { return bytes_[kReadGeneration]; }
    std::uint16_t directoryAddress() const { return word(kDirectoryAddress); }
    std::uint16_t configurationSegment() const { return word(kConfigurationSegment); }
    std::uint16_t pageSize() const { return word(kPageSize); }
    std::uint16_t indmwSegment() const { return word(kIndmwSegment); }
    std::uint16_t indxwSegment() const { return word(kIndxwSegment); }

    std::uint16_t word(size_t offset) const {
        return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
    }
    void setWord(size_t offset, std::uint16_t value) {
        bytes_[offset] = static_cast<std::uint8_t>(value & 0xFF);
        bytes_[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    // Copies up to kSize bytes of an answer over the block; the rest keeps its values.
    void assign(const std::string& answer);

    std::array<std::uint8_t, kSize>& bytes() { return bytes_; }
    const std::array<std::uint8_t, kSize>& bytes() const { return bytes_; }

  private:
    std::array<std::uint8_t, kSize> bytes_{};
};

}  // namespace plc
