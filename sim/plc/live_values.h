#pragma once
// Variables that change while a watcher looks at them, and initial memory contents from a
// text file (plcsim --memory FILE).
//
// Live values, in the 16-bit address space, refreshed before each answer from the time
// since the simulator started:
//   0x0200  word         counter: one step every 100 ms
//   0x0210  bit 0        toggles every 500 ms (the byte's other bits stay as they are)
//   0x0220  double word  ramp: 1000 per millisecond, wrapping at 2^32
//
// Memory file: one entry per line, "#" starts a comment, blank lines are ignored.
//   ADDRESS BYTES...
// ADDRESS is hexadecimal: "0400" in the 16-bit space or "3000:0022" as segment:offset.
// BYTES are hexadecimal bytes ("1F") or texts in double quotes ("Quarn OK"), written from
// the address on.
#include <cstdint>
#include <filesystem>
#include <string>

#include "common/clock.h"
#include "sim/plc/plc_memory.h"

namespace sim {

namespace live {
constexpr std::uint16_t kCounterAddress = 0x0200;
constexpr std::uint16_t kToggleAddress = 0x0210;
constexpr std::uint16_t kRampAddress = 0x0220;
constexpr common::Millis kCounterStep{100};
constexpr common::Millis kToggleStep{500};
constexpr std::uint32_t kRampPerMillisecond = 1000;
}  // namespace live

// Writes the live values for the given time since the start.
void ApplyLiveValues(PlcMemory& memory, common::Millis sinceStart);

// Makes the memory refresh its live values on every tick, counting from the first tick.
void InstallLiveValues(PlcMemory& memory);

// Writes the file's entries into the memory. False with the reason (file and line) when the
// file can't be read or a line is malformed; entries before it stay written.
bool LoadMemoryFile(const std::filesystem::path& path, PlcMemory& memory, std::string& error);

}  // namespace sim
