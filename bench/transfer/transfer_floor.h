#pragma once
// The least time a transfer can take: the waits the protocol demands and every byte on the
// line (11 bits a character), found by running the same transfer against the simulated
// PLC on virtual time, where waits cost their length and the line costs nothing.
//
//   serial      every wait and every byte one after the other
//   overlapped  the answer (or acknowledgement) crossing the line while the PC still waits
//               after its request, as it does when the PC's serial driver takes the request
//               at once and keeps the answer: per exchange the waits before the request, then
//               the longer of the wait after it and the line time of request and answer
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "common/clock.h"

namespace bench {

using Seconds = std::chrono::duration<double>;

// One request and what came back, with the virtual time from the previous request's write
// to this one's.
struct Exchange {
    std::uint8_t command = 0;
    std::size_t requestBytes = 0;
    std::size_t replyBytes = 0;
    common::Millis gapBefore{0};
};

struct TransferFloor {
    int exchanges = 0;
    std::size_t characters = 0;
    Seconds waits{0};
    Seconds serial{0};
    Seconds overlapped{0};
};

// The wait the PC keeps after writing a request of this command before it reads.
common::Millis WaitAfter(std::uint8_t command);

// tail: virtual time after the last write until the transfer ended.
TransferFloor FloorOf(const std::vector<Exchange>& exchanges, common::Millis tail, int baud);

}  // namespace bench
