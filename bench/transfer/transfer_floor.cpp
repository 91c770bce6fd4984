#include "transfer_floor.h"

#include <algorithm>

namespace bench {

namespace {
constexpr int kBitsPerCharacter = 11;
constexpr std::uint8_t kReset = 0x24;
constexpr std::uint8_t kWriteSegmentProgress = 0x44;
constexpr std::uint8_t kWriteSegment = 0x45;
constexpr std::uint8_t kWriteConfiguration = 0x46;
}  // namespace

common::Millis WaitAfter(std::uint8_t command) {
    switch (command) {
        case kReset:
            return common::Millis(0);
        case kWriteSegmentProgress:
        case kWriteSegment:
        case kWriteConfiguration:
            return common::Millis(60);
        default:
            return common::Millis(100);
    }
}

TransferFloor FloorOf(const std::vector<Exchange>& exchanges, common::Millis tail, int baud) {
    TransferFloor floor;
    const double character = static_cast<double>(kBitsPerCharacter) / baud;
    double waits = 0, overlapped = 0;
    for (size_t i = 0; i < exchanges.size(); ++i) {
        const Exchange& e = exchanges[i];
        // The virtual time up to the next write (or the end) holds this exchange's wait
        // after its request and every wait before the next one.
        const common::Millis span = i + 1 < exchanges.size() ? exchanges[i + 1].gapBefore : tail;
        const double after = std::chrono::duration<double>(WaitAfter(e.command)).count();
        const double before = std::chrono::duration<double>(e.gapBefore).count();
        const double line = static_cast<double>(e.requestBytes + e.replyBytes) * character;
        floor.characters += e.requestBytes + e.replyBytes;
        if (i == 0) {
            waits += before;
            overlapped += before;
        }
        const double spanSeconds = std::chrono::duration<double>(span).count();
        waits += spanSeconds;
        overlapped += spanSeconds - after + std::max(after, line);
    }
    floor.exchanges = static_cast<int>(exchanges.size());
    floor.waits = Seconds(waits);
    floor.serial = Seconds(waits + static_cast<double>(floor.characters) * character);
    floor.overlapped = Seconds(overlapped);
    return floor;
}

}  // namespace bench
