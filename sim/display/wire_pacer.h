#pragma once
// Wire time of a serial line for the simulators' real-time mode: a character of 11 bits
// (start bit, 8 data bits, 2 stop bits) takes 11/9600 s at 9600 baud. Bytes the client
// wrote are taken as arriving one character time after another, and the device's answer
// leaves at the same pace, so a whole session takes as long as on a real line.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "common/clock.h"

namespace sim {

class WirePacer {
  public:
    using Micros = std::chrono::microseconds;
    static constexpr int kBitsPerCharacter = 11;

    // enabled false: no waits at all (the default, fast mode).
    WirePacer(common::Clock& clock, int baud, bool enabled);

    Micros characterTime() const { return character_; }
    // A byte from the client has been read now: it ends one character time after the
    // later of now and the end of the byte before it.
    void received();
    // Waits until the last byte received has crossed the line.
    void awaitReceived();
    // Sends bytes one at a time, each when its character time is over; the first not
    // before the last byte received has crossed the line.
    bool send(const std::string& bytes, const std::function<bool(const std::string&)>& write);

  private:
    Micros now() const;
    void waitUntil(Micros due);

    common::Clock& clock_;
    bool enabled_;
    Micros character_;
    Micros inboundEnd_{0};
    Micros outboundEnd_{0};
};

}  // namespace sim
