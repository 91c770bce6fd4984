#pragma once
// What the two network devices share when a read is asked for: the bytes that earlier
// receives brought are handed out first, one a read; with none left the connection is asked
// for more until the time-out; a connection that has ended lets the time-out pass and then
// reports the device gone, as a vanished local port does.
#include <cstdint>
#include <deque>

#include "common/clock.h"
#include "link/deadline.h"
#include "link/serial_device.h"

namespace serial {

// `receiveMore(left)` waits at most `left` for bytes, appends them to `received` and sets
// `gone` when the connection has ended.
template <typename ReceiveMore>
ReadResult ReadReceived(common::Clock& clock, std::deque<std::uint8_t>& received, const bool& gone,
                        common::Millis timeout, ReceiveMore receiveMore) {
    const common::Millis deadline = clock.now() + timeout;
    for (;;) {
        if (!received.empty()) {
            const std::uint8_t byte = received.front();
            received.pop_front();
            return {ReadStatus::Byte, byte};
        }
        const common::Millis left = Remaining(clock, deadline);
        if (gone) {
            clock.sleep(left);
            return {ReadStatus::Gone};
        }
        if (left.count() == 0) return {};
        receiveMore(left);
    }
}

}  // namespace serial
