#pragma once
// Real-time mode: the simulated PLC takes the client's bytes no faster than the line at
// the client's speed carries them, and sends its answers at that pace. A character is 11
// bits (start, 8 data, parity, stop). Due times are absolute, so rounding never adds up.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "common/clock.h"

namespace sim {

class LinePacer {
  public:
    using Micros = std::chrono::microseconds;
    static constexpr int kBitsPerCharacter = 11;

    using TimeSource = std::function<Micros()>;

    // Without enabled nothing waits. Due times are kept on the time source (the steady
    // clock's microseconds unless given), sleeps go through the clock.
    LinePacer(common::Clock& clock, bool enabled, TimeSource time = {})
        : clock_(clock), enabled_(enabled), time_(std::move(time)) {}

    static Micros CharacterTime(int baud) {
        return Micros(baud > 0 ? 1'000'000LL * kBitsPerCharacter / baud : 0);
    }

    // A byte from the client was read now, at the given speed: it is complete one character
    // time after the later of now and the end of the byte before it.
    void received(int baud);
    // Waits until the last byte received has crossed the line.
    void awaitReceived();
    // Sends the bytes one at a time, each when its character time is over.
    bool send(const std::string& bytes, int baud,
              const std::function<bool(const std::string&)>& write);

  private:
    Micros now() const;
    void waitUntil(Micros due);

    common::Clock& clock_;
    bool enabled_;
    TimeSource time_;
    Micros inboundEnd_{0};
    Micros outboundEnd_{0};
};

}  // namespace sim
