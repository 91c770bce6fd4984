#pragma once
// The line settings of the three programs. Each program talks to its device with one fixed
// setting; only the PLC tool offers a second speed.
#include "common/clock.h"

namespace serial {

enum class Program { QuarnWin, Skellig, Vantor };

enum class Parity { None, Even };

struct LineSettings {
    int baud = 9600;
    int dataBits = 8;
    Parity parity = Parity::None;
    int stopBits = 1;
    bool dtrOn = false;  // DTR held on (true) or off
    bool rtsOn = false;  // RTS held on (true) or off
    // Every read asks for one byte, so the total read time-out is the longest silence a
    // read survives; the interval time-out never comes into play.
    common::Millis readInterval{200};
    common::Millis readTotal{2000};
    common::Millis writeTotal{1000};
};

// PLC: 9600 or 19200 (fast) baud, 8E1, DTR and RTS off, 2 s read time-out.
// Text display (setup): 9600 baud, 8N2, DTR and RTS on, 2 s read time-out.
// Text display (protocol): as the setup, but 3 s read time-out.
LineSettings SettingsFor(Program program, bool fast = false);

}  // namespace serial
