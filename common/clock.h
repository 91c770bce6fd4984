#pragma once
// Time for the device dialogues: the fixed pacing waits of the protocols and the read
// time-outs. Everything that waits goes through a Clock, so tests run a 55 s wait in no time.
#include <chrono>
#include <vector>

namespace common {

using Millis = std::chrono::milliseconds;
using Micros = std::chrono::microseconds;

class Clock {
  public:
    virtual ~Clock() = default;
    // Waits the given time.
    virtual void sleep(Millis duration) = 0;
    // Monotonic time since an arbitrary start.
    virtual Millis now() const = 0;
    // Finer time and waits, for pacing characters at wire speed (about a millisecond each
    // at 9600 baud). By default the millisecond ones.
    virtual Micros nowMicros() const { return now(); }
    virtual void sleepMicros(Micros duration) {
        sleep(std::chrono::duration_cast<Millis>(duration));
    }
};

// The wall clock: real sleeps, steady time.
class RealClock final : public Clock {
  public:
    void sleep(Millis duration) override;
    Millis now() const override;
    Micros nowMicros() const override;
    void sleepMicros(Micros duration) override;
};

// Virtual time for tests: a sleep advances it and returns at once. Devices that wait for
// bytes (the scripted test device) advance it by the time-out they waited.
class FakeClock final : public Clock {
  public:
    void sleep(Millis duration) override;
    Millis now() const override { return now_; }
    void advance(Millis duration) { now_ += duration; }
    // Every sleep, in order, for tests of the pacing waits.
    const std::vector<Millis>& sleeps() const { return sleeps_; }

  private:
    Millis now_{0};
    std::vector<Millis> sleeps_;
};

}  // namespace common
