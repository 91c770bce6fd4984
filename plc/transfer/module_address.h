#pragma once
// Where a module's code lies in the PLC, both ways: from the start page the module table
// names (upload, verify), and the start page of the place the PLC gave a new module
// (download). Pages are counted from the configuration segment (information block word 6).
#include <cstdint>

#include "plc/info_block.h"
#include "plc/module_table.h"
#include "plc/transfer/block_transfer.h"

namespace plc {

namespace address {
constexpr std::uint32_t kParagraph = 16;       // bytes per segment step
constexpr std::uint32_t kSegmentSpan = 65536;  // bytes one segment's offsets reach
constexpr std::uint32_t kSegmentsPerSpan = kSegmentSpan / kParagraph;
}  // namespace address

// The module's code (its length as the table says, the 2-byte sum included) as a segment
// read: linear = start page * page size + configuration segment * 16, segment =
// (linear / 65536) * 4096, offset = linear modulo 65536.
BlockDescriptor ModuleCodeBlock(const ModuleEntry& entry, const InfoBlock& info);

// The start page of code placed at codeSegment:codeOffset, in pages of pageSize: computed
// in unsigned 32 bits and kept as a byte, as the PLC's loader does.
std::uint8_t StartPageAt(std::uint16_t codeSegment, std::uint16_t codeOffset,
                         std::uint16_t configurationSegment, std::uint16_t pageSize);

}  // namespace plc
