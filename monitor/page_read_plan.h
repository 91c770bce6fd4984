#pragma once
// The read list of one page: which PLC bytes one block read brings for the variables that
// start at TopIndex, and where each variable's bytes lie in the receive buffer.
//
// A variable is read when its type is not LEER and its address is not 0. Its bytes follow
// those of the variable before in the receive buffer. With a memory read generation above 1
// the list is read with command 0x0D, and the indexed and extension types carry segment
// words (INDMW and INDXW the information block's, EXTEA, EXTBF and EXTB 0xA000), which makes
// the read command 0x0E; a PLC of generation 1 or less gets command 0x03 and no segments.
//
// The walk takes variables until the sum of their cells reaches 56. A page also ends before
// a variable whose bytes would no longer fit the 640-byte receive buffer or whose record
// would no longer fit the 64-record read list (63 records and the one that ends it); that
// variable starts the next page. Only the page's first variable may be longer than the
// receive buffer: its first 640 bytes are read.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "monitor/variable_list.h"
#include "plc/transfer/block_transfer.h"

namespace monitor {

inline constexpr size_t kReceiveBufferSize = 640;
inline constexpr size_t kReadListRecords = 64;  // the last one ends the list
inline constexpr size_t kReadRequestSize = 7;   // address, length, segment, continue mark
inline constexpr std::uint16_t kExtensionSegment = 0xA000;

// What the page reader needs to know about the PLC.
struct PlcReadSettings {
    std::uint8_t readGeneration = 1;      // information block byte 2
    std::uint16_t indmwSegment = 0x0400;  // information block word 54
    std::uint16_t indxwSegment = 0x3000;  // information block word 70
};

// Where a read variable's bytes lie in the receive buffer.
struct DataSlot {
    size_t offset = 0;
    size_t length = 0;
};

struct PageReadPlan {
    std::uint8_t command = plc::command::kRepeatListRead;
    std::vector<plc::ListItem> readList;  // the records in use, without the ending one
    size_t first = 0;                     // the page's variables: first .. end - 1
    size_t end = 0;
    // Set when the page ended at `end` because the receive buffer or the read list was full.
    bool cutShort = false;
    // Per variable of the page (index - first): its bytes, or none when it is not read.
    std::vector<std::optional<DataSlot>> data;

    size_t totalBytes() const;
    std::optional<DataSlot> slotOf(size_t variable) const;
};

// The read list of the page that starts at variable `first`. An index that holds no
// variable gives an empty page.
PageReadPlan BuildReadList(const VariableList& list, size_t first, const PlcReadSettings& plc);

}  // namespace monitor
