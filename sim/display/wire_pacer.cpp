#include "sim/display/wire_pacer.h"

#include <algorithm>

namespace sim {

WirePacer::WirePacer(common::Clock& clock, int baud, bool enabled)
    : clock_(clock),
      enabled_(enabled),
      character_(Micros(1'000'000LL * kBitsPerCharacter / baud)) {}

WirePacer::Micros WirePacer::now() const {
    return std::chrono::duration_cast<Micros>(clock_.now());
}

void WirePacer::waitUntil(Micros due) {
    // The clock counts whole milliseconds; sleeping the whole milliseconds still missing
    // keeps every byte within a millisecond of its due time without drifting.
    Micros left = due - now();
    if (left >= std::chrono::milliseconds(1))
        clock_.sleep(std::chrono::duration_cast<common::Millis>(left));
}

void WirePacer::received() {
    if (!enabled_) return;
    inboundEnd_ = std::max(now(), inboundEnd_) + character_;
}

void WirePacer::awaitReceived() {
    if (enabled_) waitUntil(inboundEnd_);
}

bool WirePacer::send(const std::string& bytes,
                     const std::function<bool(const std::string&)>& write) {
    if (!enabled_) return write(bytes);
    for (char byte : bytes) {
        outboundEnd_ = std::max(now(), outboundEnd_) + character_;
        waitUntil(outboundEnd_);
        if (!write(std::string(1, byte))) return false;
    }
    return true;
}

}  // namespace sim
