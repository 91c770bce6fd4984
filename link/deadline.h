#pragma once
// The time left of a wait that must end at a point of the clock.
#include "common/clock.h"

namespace serial {

// The time left until `deadline`, never below zero.
inline common::Millis Remaining(common::Clock& clock, common::Millis deadline) {
    const common::Millis left = deadline - clock.now();
    return left.count() > 0 ? left : common::Millis{0};
}

}  // namespace serial
