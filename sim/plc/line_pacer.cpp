#include "sim/plc/line_pacer.h"

#include <algorithm>

namespace sim {

LinePacer::Micros LinePacer::now() const {
    if (time_) return time_();
    // Finer than the clock's milliseconds: the due times are kept to the microsecond.
    return std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now().time_since_epoch());
}

void LinePacer::waitUntil(Micros due) {
    const Micros left = due - now();
    // Rounded to the nearest millisecond the clock can sleep.
    const auto millis = (left.count() + 500) / 1000;
    if (millis > 0) clock_.sleep(common::Millis(millis));
}

void LinePacer::received(int baud) {
    if (!enabled_) return;
    // Bytes read while earlier ones are still on the line queue up behind them.
    inboundEnd_ = std::max(now(), inboundEnd_) + CharacterTime(baud);
}

void LinePacer::awaitReceived() {
    if (enabled_) waitUntil(inboundEnd_);
}

bool LinePacer::send(const std::string& bytes, int baud,
                     const std::function<bool(const std::string&)>& write) {
    if (!enabled_) return write(bytes);
    const Micros character = CharacterTime(baud);
    // One answer is one burst on the line: its schedule holds even when a sleep overran, so
    // a byte that is late does not delay the ones after it.
    outboundEnd_ = std::max(now(), outboundEnd_);
    for (char byte : bytes) {
        outboundEnd_ += character;
        waitUntil(outboundEnd_);
        if (!write(std::string(1, byte))) return false;
    }
    return true;
}

}  // namespace sim
