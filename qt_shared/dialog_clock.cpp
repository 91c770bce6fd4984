#include "qt_shared/dialog_clock.h"

#include <algorithm>

#include "link/stop_signals.h"
#include "qt_shared/paint_pump.h"

namespace qtshared {

void DialogClock::sleep(common::Millis duration) {
    if (duration <= kMoment || !dialog_) {
        real_.sleep(duration);
        return;
    }
    const common::Micros deadline = real_.nowMicros() + duration;
    for (;;) {
        if (dialog_) DispatchPendingPaints(*dialog_);
        const common::Micros left = deadline - real_.nowMicros();
        if (left <= common::Micros(0) || serial::StopRequested()) return;
        real_.sleepMicros(std::min<common::Micros>(left, kSlice));
    }
}

}  // namespace qtshared
