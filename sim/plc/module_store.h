#pragma once
// How the simulated PLC keeps its modules in its memory.
//
//   16-bit space (segment 0):
//     directory address (0x1000)   279-byte directory: bytes 0-255 the page map, one byte
//                                  per page (bits 7-6 kind, bits 5-0 module number; a byte
//                                  with bits 6-0 zero ends the map), byte 274 non-zero once
//                                  a configuration block was written
//     0x2000 + 32 * number         the 32-byte header of module number (1 to 63)
//   configuration segment (0x6000), pages of 0x400 bytes from its offset 0:
//     pages 0, 1 and 128           the PLC's own (page 1 holds the configuration block at
//                                  offset 0x0400); marked kind 01 in the map
//     every other page             module code; its map byte is 0xC0 | number (or 0x80 |
//                                  number once a header names a relative module), free
//                                  pages below the last used one are kind 01 without number
//
// Everything lives in the memory, so a saved image holds the whole PLC.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/plc/plc_memory.h"

namespace sim {

struct ModuleLayout {
    std::uint16_t directoryAddress = 0x1000;
    std::uint16_t configurationSegment = 0x6000;
    std::uint16_t pageSize = 0x0400;
    std::uint16_t headerArea = 0x2000;

    static constexpr size_t kDirectorySize = 279;
    static constexpr size_t kPages = 256;
    static constexpr size_t kConfigurationPresent = 274;
    static constexpr size_t kHeaderSize = 32;
    static constexpr int kMaxNumber = 63;
    static constexpr std::uint16_t kConfigurationOffset = 0x0400;
    static constexpr size_t kConfigurationSize = 512;
};

// Where the PLC put a module: the answer to a reservation.
struct ModulePlace {
    std::uint8_t number = 0;  // 0: no room (or no number left)
    std::uint16_t codeOffset = 0;
    std::uint16_t codeSegment = 0;
    std::uint16_t headerOffset = 0;
    std::uint16_t headerSegment = 0;
};

class ModuleStore {
  public:
    ModuleStore(PlcMemory& memory, ModuleLayout layout) : memory_(memory), layout_(layout) {}

    const ModuleLayout& layout() const { return layout_; }

    // Room for codeLength bytes of code on free pages, under the requested number (a module
    // already holding it is replaced) or, for 0, the lowest free number.
    ModulePlace reserve(std::uint8_t requested, std::uint16_t codeLength);
    // Frees the module's pages and header; unknown numbers are ignored.
    void remove(std::uint8_t number);
    std::string header(std::uint8_t number) const;
    std::uint16_t headerAddress(std::uint8_t number) const;
    // The page a module's code starts on, if it has any.
    std::optional<size_t> firstPage(std::uint8_t number) const;
    std::vector<std::uint8_t> numbers() const;

    // After bytes were written at segment:offset: a completed header sets its module's page
    // kind, a configuration block write marks the block present.
    void noteHeaderWrite(std::uint16_t segment, std::uint16_t offset, size_t count);
    void noteConfigurationWrite();

    // Makes the stored sum of the module's code wrong (the code itself stays).
    void spoilChecksum(std::uint8_t number);

    // Marks the system pages and closes the map after its last used page.
    void tidyMap();

  private:
    std::uint16_t directoryByteAddress(size_t index) const {
        return static_cast<std::uint16_t>(layout_.directoryAddress + index);
    }
    std::uint8_t pageByte(size_t page) const { return memory_.byteAt(directoryByteAddress(page)); }
    void setPageByte(size_t page, std::uint8_t value);
    bool isSystemPage(size_t page) const;
    bool isFree(size_t page) const;

    PlcMemory& memory_;
    ModuleLayout layout_;
};

}  // namespace sim
