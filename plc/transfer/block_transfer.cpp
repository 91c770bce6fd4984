#include "plc/transfer/block_transfer.h"

#include <algorithm>

#include "common/format.h"
#include "plc/frame.h"

namespace plc {

namespace {

std::uint8_t Low(std::uint16_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}
std::uint8_t High(std::uint16_t value) {
    return static_cast<std::uint8_t>(value >> 8);
}

// Wait 100 ms, write the request in the telegram buffer, wait 100 ms, receive.
std::string SendReadRequest(CPlcProgrammer& programmer) {
    std::string frame = BuildTelegram(programmer.state().telegram);
    AppendChecksum(frame);
    PlcExchange& exchange = programmer.exchange();
    exchange.Pause(kRequestPause);
    return exchange.Request(frame);
}

bool IsSegmentRead(std::uint8_t command) {
    return command == command::kReadSegment;
}

// One chunk request of a 16-bit or segment read into the telegram buffer.
void ComposeMemoryRequest(CPlcProgrammer& programmer, std::uint8_t command, std::uint16_t address,
                          std::uint16_t segment, std::uint8_t chunk) {
    TelegramBuffer& buffer = programmer.state().telegram;
    const std::uint8_t station = programmer.state().stationAddress;
    size_t at = kOffsetData;
    if (IsSegmentRead(command)) {
        ComposeHeader(buffer, 9, station, command);
        buffer[at++] = Low(address);
        buffer[at++] = High(address);
        buffer[at++] = Low(segment);
        buffer[at++] = High(segment);
    } else {
        ComposeHeader(buffer, 7, station, command);
        buffer[at++] = Low(address);
        buffer[at++] = High(address);
    }
    buffer[at] = chunk;
}

// A list read request under construction: which bytes of which items it asks for.
struct ListRange {
    std::uint16_t address = 0;
    std::uint16_t segment = 0;
    size_t count = 0;
};

struct ListCursor {
    size_t item = 0;    // index of the item the next request starts with
    size_t offset = 0;  // bytes of that item already read (an item split over requests)
};

bool EndsList(const std::vector<ListItem>& list, size_t index) {
    return index >= list.size() || list[index].address == 0;
}

// Packs the items from the cursor into ranges; returns the ranges and moves the cursor to
// where the next request starts.
std::vector<ListRange> PackRanges(const std::vector<ListItem>& list, ListCursor& cursor,
                                  bool withSegments) {
    const size_t rangesMax =
        withSegments ? transfer::kSegmentListRangesMax : transfer::kListRangesMax;
    std::vector<ListRange> ranges;
    size_t packed = 0;
    while (!EndsList(list, cursor.item)) {
        const ListItem& item = list[cursor.item];
        const std::uint16_t segment = withSegments ? item.segment : 0;
        size_t piece = item.length - cursor.offset;
        if (packed + piece >= transfer::kListBytesLimit) {
            // An item that alone fills a request is split; otherwise it opens the next one.
            if (packed != 0) break;
            piece = transfer::kListPieceMax;
        }
        const auto address = static_cast<std::uint16_t>(item.address + cursor.offset);
        const bool extends =
            !ranges.empty() && ranges.back().segment == segment &&
            static_cast<std::uint16_t>(ranges.back().address + ranges.back().count) == address;
        if (!extends) {
            if (ranges.size() == rangesMax) break;
            ranges.push_back({address, segment, 0});
        }
        ranges.back().count += piece;
        packed += piece;
        cursor.offset += piece;
        if (cursor.offset == item.length) {
            ++cursor.item;
            cursor.offset = 0;
        }
    }
    return ranges;
}

void ComposeListRequest(CPlcProgrammer& programmer, std::uint8_t command,
                        const std::vector<ListRange>& ranges) {
    const bool withSegments = command == command::kReadSegmentList;
    const size_t rangeSize = withSegments ? transfer::kSegmentRangeSize : transfer::kRangeSize;
    TelegramBuffer& buffer = programmer.state().telegram;
    const auto length = static_cast<std::uint8_t>(kLengthOverhead + 1 + rangeSize * ranges.size());
    ComposeHeader(buffer, length, programmer.state().stationAddress, command);
    size_t at = kOffsetData;
    buffer[at++] = static_cast<std::uint8_t>(ranges.size());
    for (const ListRange& range : ranges) {
        buffer[at++] = Low(range.address);
        buffer[at++] = High(range.address);
        if (withSegments) {
            buffer[at++] = Low(range.segment);
            buffer[at++] = High(range.segment);
        }
        buffer[at++] = static_cast<std::uint8_t>(range.count);
    }
}

// A module transfer's byte counter: the head (name, with the entry's number on a read), then
// "  %8d of %8d Bytes transfered".
common::Progress BytesTransfered(const std::string& name, const std::string& head, size_t done,
                                 size_t total) {
    return {name, static_cast<long>(done), static_cast<long>(total),
            head + common::Format("  %8d of %8d Bytes transfered", static_cast<int>(done),
                                  static_cast<int>(total))};
}

}  // namespace

BlockResult ReadBlock(CPlcProgrammer& programmer, std::uint8_t command,
                      const BlockDescriptor& block, std::string& destination,
                      const ModuleEntry* progress) {
    destination.clear();
    if (block.length == 0) return BlockResult::kDone;
    const size_t head =
        IsSegmentRead(command) ? transfer::kSegmentAnswerHead : transfer::kMemoryAnswerHead;
    std::uint16_t address = block.address;
    size_t requested = 0;
    while (destination.size() < block.length) {
        const size_t chunk = std::min(transfer::kReadChunk, block.length - requested);
        ComposeMemoryRequest(programmer, command, address, block.segment,
                             static_cast<std::uint8_t>(chunk));
        requested += chunk;
        if (progress && IsSegmentRead(command)) {
            const std::string name = progress->name();
            programmer.frontend().progress(
                BytesTransfered(name, common::Format("%2d  %10s", progress->number(), name.c_str()),
                                requested, block.length));
        }
        std::string answer = SendReadRequest(programmer);
        if (answer.size() < head) return BlockResult::kFailed;
        const size_t count = static_cast<std::uint8_t>(answer[head - 1]);
        const size_t brought = std::min(count, answer.size() - head);
        destination.append(answer, head, brought);
        // A short answer would shift every later byte against its address.
        if (brought < chunk) return BlockResult::kFailed;
        address = static_cast<std::uint16_t>(address + chunk);
    }
    return destination.size() == block.length ? BlockResult::kDone : BlockResult::kTooMany;
}

BlockResult ReadBlock(CPlcProgrammer& programmer, std::uint8_t command, std::vector<ListItem>& list,
                      std::string& destination) {
    destination.clear();
    // The repeat commands of older PLCs are read as full list requests.
    if (command == command::kRepeatListRead || command == command::kRepeatListReadAlt)
        command = command::kReadList;
    const bool withSegments = command == command::kReadSegmentList;
    for (ListItem& item : list) item.continueMark = false;

    ListCursor cursor;
    while (!EndsList(list, cursor.item)) {
        std::vector<ListRange> ranges = PackRanges(list, cursor, withSegments);
        if (!EndsList(list, cursor.item)) list[cursor.item].continueMark = true;
        ComposeListRequest(programmer, command, ranges);
        size_t total = 0;
        for (const ListRange& range : ranges) total += range.count;

        std::string answer = SendReadRequest(programmer);
        if (answer.size() < transfer::kListAnswerHead) return BlockResult::kFailed;
        if (static_cast<std::uint8_t>(answer[0]) != total ||
            answer.size() - transfer::kListAnswerHead < total)
            return BlockResult::kFailed;
        destination.append(answer, transfer::kListAnswerHead, total);
        if (!EndsList(list, cursor.item)) list[cursor.item].continueMark = false;
    }
    return BlockResult::kDone;
}

int WriteBlock(CPlcProgrammer& programmer, std::uint8_t command, const BlockDescriptor& block,
               std::string_view source, const std::string& name) {
    const size_t length = std::min<size_t>(block.length, source.size());
    const bool segmentWrite = command != command::kWriteConfiguration;
    const size_t chunkMax =
        segmentWrite ? transfer::kSegmentWriteChunk : transfer::kConfigurationWriteChunk;
    PlcExchange& exchange = programmer.exchange();
    TelegramBuffer& buffer = programmer.state().telegram;
    std::uint16_t address = block.address;
    size_t sent = 0;
    while (sent < length) {
        const size_t chunk = std::min(chunkMax, length - sent);
        const size_t head = segmentWrite ? 9 : 7;
        ComposeHeader(buffer, static_cast<std::uint8_t>(chunk + head),
                      programmer.state().stationAddress, command);
        size_t at = kOffsetData;
        buffer[at++] = Low(address);
        buffer[at++] = High(address);
        if (segmentWrite) {
            buffer[at++] = Low(block.segment);
            buffer[at++] = High(block.segment);
        }
        buffer[at++] = static_cast<std::uint8_t>(chunk);
        std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(sent), chunk,
                    buffer.begin() + static_cast<std::ptrdiff_t>(at));
        sent += chunk;
        if (command == command::kWriteSegmentProgress) {
            programmer.frontend().progress(
                BytesTransfered(name, common::Format("%10s", name.c_str()), sent, length));
        }
        std::string frame = BuildTelegram(buffer);
        AppendChecksum(frame);
        exchange.Pause(kRequestPause);
        exchange.Write(frame);
        exchange.Pause(kBlockWritePause);
        exchange.WaitAck();
        address = static_cast<std::uint16_t>(address + chunk);
    }
    return 0;
}

}  // namespace plc
