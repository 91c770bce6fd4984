#pragma once
// The PLC directory: which memory pages belong to which module, each module's header, and
// the PLC's configuration block. Read before every transfer and by the variable display.
//
// The directory is 279 bytes at the directory address (information block word 4):
//
//   bytes 0-255  page map, one byte per page: bits 7-6 the page's kind (01, 10, 11),
//                bits 5-0 the module number; a byte whose bits 6-0 are zero ends the map
//   byte 274     non-zero when the PLC holds a configuration block
#include <cstdint>
#include <vector>

#include "plc/plc_programmer.h"

namespace plc {

namespace directory {
constexpr size_t kPageMapSize = 256;
constexpr size_t kConfigurationPresent = 274;
constexpr std::uint8_t kKindMask = 0xC0;
constexpr std::uint8_t kNumberMask = 0x3F;
constexpr std::uint8_t kEndMask = 0x7F;
constexpr std::uint8_t kKindSystem = 0x40;  // kind 01: pages that make no module entry
constexpr size_t kSecondHalf = 128;
constexpr std::uint16_t kSystemPagesSpan = 1024;  // the first KiB of each half is the system's
constexpr int kIdentifyAttempts = 5;
}  // namespace directory

// True for the pages the PLC keeps for itself: up to the first KiB and one page more, and
// the first KiB of the second half of the map.
bool IsSystemPage(size_t page, std::uint16_t pageSize);

// The module numbers the page map names, in map order: a module page opens an entry when
// its number is not 0 and differs from the module before it. At most 65 numbers.
std::vector<std::uint8_t> WalkPageMap(const std::uint8_t* pageMap, std::uint16_t pageSize);

// Reads the directory into the programmer's state: identification (once per run, at most
// five attempts), the information block (firmware 2.0 or later), the directory, the module
// headers (table sorted by number), the configuration block with its title and the flags
// word rule, then the title. Shows "Get SPS directory". A missing answer throws
// "Comunication error:".
void ReadPlcDirectory(CPlcProgrammer& programmer);

}  // namespace plc
