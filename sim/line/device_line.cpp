#include "sim/line/device_line.h"

namespace sim {

const char* ParityName(ParitySeen parity) {
    switch (parity) {
        case ParitySeen::None:
            return "no parity";
        case ParitySeen::Odd:
            return "odd parity";
        case ParitySeen::Even:
            return "even parity";
        case ParitySeen::Mark:
            return "mark parity";
        case ParitySeen::Space:
            return "space parity";
        case ParitySeen::NotVisible:
            break;
    }
    return "parity not visible";
}

}  // namespace sim
