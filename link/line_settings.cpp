#include "link/line_settings.h"

namespace serial {

LineSettings SettingsFor(Program program, bool fast) {
    LineSettings s;
    switch (program) {
        case Program::QuarnWin:
            s.baud = fast ? 19200 : 9600;
            s.parity = Parity::Even;
            s.stopBits = 1;
            s.dtrOn = false;
            s.rtsOn = false;
            s.readTotal = common::Millis{2000};
            break;
        case Program::Skellig:
            s.parity = Parity::None;
            s.stopBits = 2;
            s.dtrOn = true;
            s.rtsOn = true;
            s.readTotal = common::Millis{2000};
            break;
        case Program::Vantor:
            s.parity = Parity::None;
            s.stopBits = 2;
            s.dtrOn = true;
            s.rtsOn = true;
            s.readTotal = common::Millis{3000};
            break;
    }
    return s;
}

}  // namespace serial
