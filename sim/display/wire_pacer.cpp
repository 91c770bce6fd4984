#include "sim/display/wire_pacer.h"

#include <algorithm>

namespace sim {

WirePacer::WirePacer(common::Clock& clock, int baud, bool enabled)
    : clock_(clock),
      enabled_(enabled),
      character_(Micros(1'000'000LL * kBitsPerCharacter / baud)) {}

WirePacer::Micros WirePacer::now() const {
    return clock_.nowMicros();
}

void WirePacer::waitUntil(Micros due) {
    const Micros left = due - now();
    if (left.count() > 0) clock_.sleepMicros(left);
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
        // While the line is busy each character follows the one before it, however late
        // the wake-up for it came; only an idle line starts again from now.
        // An answer begins once the request has crossed the line.
        const Micros at = std::max(now(), inboundEnd_);
        outboundEnd_ = (at > outboundEnd_ + character_ ? at : outboundEnd_) + character_;
        waitUntil(outboundEnd_);
        if (!write(std::string(1, byte))) return false;
    }
    return true;
}

}  // namespace sim
