#include "plc/transfer/protocol_time.h"

#include <algorithm>

#include "plc/exchange.h"
#include "plc/frame.h"

namespace plc::timing {

Waits WaitsOf(std::uint8_t code) {
    switch (code) {
        case command::kReadMemory:
        case command::kReadMemoryAlt:
        case command::kReadSegment:
        case command::kRepeatListRead:
        case command::kRepeatListReadAlt:
        case command::kReadList:
        case command::kReadSegmentList:
            return {kRequestPause, kRequestPause, {}};
        case command::kWriteSegmentProgress:
        case command::kWriteConfiguration:
            return {kRequestPause, kBlockWritePause, {}};
        case command::kWriteSegment:
            // The download's header write: its own pause, then the block write's.
            return {kRequestPause + kRequestPause, kBlockWritePause, kModuleSettle};
        case command::kReset:
            return {{}, {}, kResetSettle};
        case command::kEepromStep2:
            return {{}, kRequestPause, kEepromInitWait};
        default:
            return {{}, kRequestPause, {}};
    }
}

TimeFloor FloorOf(const std::vector<Exchange>& exchanges, int baud) {
    TimeFloor floor;
    const double character = static_cast<double>(kBitsPerCharacter) / baud;
    double waits = 0, overlapped = 0;
    for (const Exchange& e : exchanges) {
        const Waits w = WaitsOf(e.command);
        const double before = Seconds(w.before).count();
        const double after = Seconds(w.after).count();
        const double settle = Seconds(w.settle).count();
        const double line = static_cast<double>(e.requestBytes + e.replyBytes) * character;
        floor.characters += e.requestBytes + e.replyBytes;
        waits += before + after + settle;
        overlapped += before + std::max(after, line) + settle;
    }
    floor.exchanges = static_cast<int>(exchanges.size());
    floor.waits = Seconds(waits);
    floor.serial = Seconds(waits + static_cast<double>(floor.characters) * character);
    floor.overlapped = Seconds(overlapped);
    return floor;
}

}  // namespace plc::timing
