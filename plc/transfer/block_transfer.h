#pragma once
// Block transfer: everything larger than one command travels as a sequence of block
// telegrams, composed in the programmer's telegram buffer.
//
// Reads (ReadBlock), one request outstanding at a time: wait 100 ms, write the request,
// wait 100 ms, receive the answer.
//
//   command     LE     request data from offset 8                answer data (after its command)
//   0x01, 0x0B  7      address lo, hi, chunk                     address (2), count, bytes
//   0x02        9      offset lo, hi, segment lo, hi, chunk      offset (2), segment (2), count,
//   bytes 0x0D        3n+5   n, then per range: offset lo, hi, count   total count, the ranges'
//   bytes 0x0E        5n+5   n, then per range: offset lo, hi,         total count, the ranges'
//   bytes
//                      segment lo, hi, count
//
// A chunk is at most 240 bytes; each further chunk's address is the previous one plus the
// previous chunk, wrapping in 16 bits (the segment stays). The answer's echo of address and
// segment is not compared with the request.
//
// Command 0x0E is this system's list read for items that carry a segment word: the 0x0D
// layout with each range's segment word (low byte first) between its offset and its count.
// A segment word of 0 addresses the same 16-bit space as 0x0D. Items extend a range only
// when they share its segment. At most 49 ranges fit one request (LE = 5 * 49 + 5 = 250).
//
// Writes (WriteBlock), one telegram at a time: wait 100 ms, write, wait 60 ms, WaitAck.
//
//   command     LE         data from offset 8                                      chunk
//   0x44, 0x45  chunk + 9  offset lo, hi, segment lo, hi, chunk, the chunk's bytes  <= 128
//   0x46        chunk + 7  address lo, hi, chunk, the chunk's bytes                 <= 240
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "plc/module_table.h"
#include "plc/plc_programmer.h"

namespace plc {

// What a read reports. Callers that need the bytes turn anything but kDone into
// ThrowIfFailed (see RequireDone).
enum class BlockResult : std::uint8_t {
    kDone = 0,       // every byte asked for arrived
    kTooMany = 2,    // the answers brought more bytes than asked; they are stored too
    kFailed = 0xFE,  // an answer was missing or had the wrong size (list reads: wrong total;
                     // block reads: fewer bytes than the chunk asked for)
};

// Throws "Comunication error:" unless the read is done.
inline void RequireDone(BlockResult result) {
    ThrowIfFailed(result != BlockResult::kDone);
}

// A block given by the caller: 16-bit address (or offset within the segment), the number
// of bytes, and the segment for the segment commands.
struct BlockDescriptor {
    std::uint16_t address = 0;
    std::uint16_t length = 0;
    std::uint16_t segment = 0;
};

// One item of a list read. A list ends at its first item whose address is 0, or at the end
// of the vector. The segment word is used by command 0x0E only. The continue mark is the
// read's own bookkeeping (the item the next request starts with); callers leave it false.
struct ListItem {
    std::uint16_t address = 0;
    std::uint16_t length = 0;
    std::uint16_t segment = 0;
    bool continueMark = false;
};

namespace transfer {
constexpr size_t kReadChunk = 240;
constexpr size_t kSegmentWriteChunk = 128;
constexpr size_t kConfigurationWriteChunk = 240;
// A list request packs fewer than this many bytes; an item of this length or more is split
// over several requests of kListPieceMax bytes.
constexpr size_t kListBytesLimit = 240;
constexpr size_t kListPieceMax = kListBytesLimit - 1;
constexpr size_t kListRangesMax = 80;         // command 0x0D
constexpr size_t kSegmentListRangesMax = 49;  // command 0x0E
constexpr size_t kRangeSize = 3;              // 0x0D range: offset lo, hi, count
constexpr size_t kSegmentRangeSize = 5;       // 0x0E range: offset lo, hi, segment lo, hi, count
// Answer data before the bytes: 0x01/0x0B echo address and count, 0x02 offset, segment, count.
constexpr size_t kMemoryAnswerHead = 3;
constexpr size_t kSegmentAnswerHead = 5;
constexpr size_t kListAnswerHead = 1;
}  // namespace transfer

// Reads a block with command 0x01, 0x0B (16-bit address) or 0x02 (segment and offset). The
// received bytes replace destination's contents; after a failure the bytes received so far
// stay there. With a progress entry, a 0x02 read shows
// "%2d  %10s  %8d of %8d Bytes transfered" (entry number, entry name, bytes requested so far
// including this chunk, length) after composing each request. A length of 0 sends nothing.
BlockResult ReadBlock(CPlcProgrammer& programmer, std::uint8_t command,
                      const BlockDescriptor& block, std::string& destination,
                      const ModuleEntry* progress = nullptr);

// Reads a list of memory ranges with command 0x0D, or 0x0E for items with segment words.
// The repeat commands 0x03 and 0x0C are read as 0x0D lists. The items' bytes arrive in
// destination back to back, in list order. Items are packed into ranges (an item starting
// where the last range ends extends it) until 80 ranges (0x0E: 49) are in use or the next
// item would bring the request to 240 bytes; the rest follows in further requests. Each
// answer must start with the request's byte total, or the read ends with kFailed.
// An empty list sends nothing and is done.
BlockResult ReadBlock(CPlcProgrammer& programmer, std::uint8_t command, std::vector<ListItem>& list,
                      std::string& destination);

// Writes source (block.length bytes of it, or all of it when shorter) with command 0x44
// (segment and offset; status "%10s  %8d of %8d Bytes transfered" with name per telegram),
// 0x45 (segment and offset) or 0x46 (16-bit address). Returns 0 when every telegram was
// acknowledged; a missing or wrong acknowledgement throws CQuarnException.
int WriteBlock(CPlcProgrammer& programmer, std::uint8_t command, const BlockDescriptor& block,
               std::string_view source, const std::string& name = std::string());

}  // namespace plc
