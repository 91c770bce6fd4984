#include "common/clock.h"

#include <thread>

namespace common {

void RealClock::sleep(Millis duration) {
    if (duration.count() > 0) std::this_thread::sleep_for(duration);
}

Millis RealClock::now() const {
    return std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now().time_since_epoch());
}

Micros RealClock::nowMicros() const {
    return std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now().time_since_epoch());
}

void RealClock::sleepMicros(Micros duration) {
    if (duration.count() > 0) std::this_thread::sleep_for(duration);
}

void FakeClock::sleep(Millis duration) {
    sleeps_.push_back(duration);
    now_ += duration;
}

}  // namespace common
