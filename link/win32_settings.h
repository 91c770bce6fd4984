#pragma once
// The Windows line state (DCB) and time-outs (COMMTIMEOUTS) for a program's line settings.
// Kept apart from the device so tests can check them without a port.
#include <windows.h>

#include "link/line_settings.h"

namespace serial {

// The current state with the program's fields changed: speed, 8 data bits, parity, stop
// bits, binary mode, parity checking, DTR and RTS held as the settings say, no CTS/DSR flow
// control or DSR sensitivity, no XON/XOFF, transmission going on after XOFF, no error
// character, NUL stripping or abort on error. The XON/XOFF limits and characters and every
// other field stay as they were.
DCB BuildDcb(const DCB& current, const LineSettings& settings);

// One-byte reads end after `readTotal` of silence (the interval time-out never comes into
// play); a write gives up after `writeTotal`. No per-byte parts.
COMMTIMEOUTS BuildTimeouts(common::Millis readInterval, common::Millis readTotal,
                           common::Millis writeTotal);

// True for the errors a COM port answers once its device has gone: a USB-serial converter
// unplugged (device removed or not connected, the driver refusing the handle, the pending
// read aborted) or a port whose far end hung up (Wine: a pseudo-terminal's reads end in
// silence and the port's error state answers "not ready"). Other errors are the line's own.
bool MeansPortGone(DWORD error);

}  // namespace serial
