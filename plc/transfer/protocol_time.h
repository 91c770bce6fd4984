#pragma once
// What an exchange with the PLC costs by the protocol's own rules: the fixed waits that go
// with each telegram by its kind, and the line time of every byte at 11 bits a character.
// The dry run of a download states its time with it, and the benchmarks hold what they
// measure against it; nothing here looks at a clock.
//
//   kind                                      before   after    then
//   block reads 0x01 0x0B 0x02 0x03 0x0C 0x0D 0x0E   100 ms   100 ms
//   block writes 0x44 0x46                    100 ms    60 ms
//   module header write 0x45 (download)       200 ms    60 ms   1,500 ms module settle
//   reset 0x24                                    -        -   5,000 ms
//   second EEPROM step 0x4B                       -    100 ms  55,000 ms
//   every other command or request                -    100 ms
#include <chrono>
#include <cstdint>
#include <vector>

#include "common/clock.h"

namespace plc::timing {

inline constexpr int kBitsPerCharacter = 11;

// One telegram to the PLC and what comes back (1 byte for an acknowledgement, the whole
// answer frame for a telegram, 0 for none).
struct Exchange {
    std::uint8_t command = 0;
    std::size_t requestBytes = 0;
    std::size_t replyBytes = 0;
    bool operator==(const Exchange&) const = default;
};

struct Waits {
    common::Millis before{0};
    common::Millis after{0};
    common::Millis settle{0};  // after the answer, before the next telegram
};

Waits WaitsOf(std::uint8_t command);

using Seconds = std::chrono::duration<double>;

// The least time a sequence of exchanges takes at the speed.
//   serial      every wait and every byte one after the other
//   overlapped  the request and its answer crossing the line while the PC waits after the
//               request: per exchange the wait before, the longer of the wait after and the
//               line time of request and answer, then the settle time
struct TimeFloor {
    int exchanges = 0;
    std::size_t characters = 0;
    Seconds waits{0};
    Seconds serial{0};
    Seconds overlapped{0};
};

TimeFloor FloorOf(const std::vector<Exchange>& exchanges, int baud);

// Frame sizes on the wire: a telegram with this many data bytes after its command byte,
// and the acknowledgement.
constexpr std::size_t TelegramBytes(std::size_t dataBytes) {
    return dataBytes + 10;
}
inline constexpr std::size_t kAckBytes = 1;

}  // namespace plc::timing
