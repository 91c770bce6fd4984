#pragma once
// The termios structure for a program's line settings. Kept apart from the device so tests
// can check it: a pseudo-terminal drops the parity flag, so reading it back there proves
// nothing.
#include <termios.h>

#include "link/line_settings.h"

namespace serial {

// Raw 8-bit line from the current structure: speed, character size, parity and stop bits of
// the settings, receiver on, modem status ignored, no hardware or XON/XOFF flow control
// (0x11 and 0x13 are data), no character conversion, bytes with parity or framing errors
// delivered as received (no INPCK). Reads are bounded with poll(), so VMIN and VTIME are 0.
termios BuildTermios(const termios& current, const LineSettings& settings);

// True when `applied` (read back from the port) holds what `wanted` asked for, except for the
// parity flags: a pseudo-terminal keeps speed, character size and stop bits but drops parity.
bool SameLineExceptParity(const termios& applied, const termios& wanted);

// The termios speed constant for a baud rate (B0 when unknown).
speed_t SpeedConstant(int baud);
// The baud rate for a termios speed constant (0 when unknown).
int BaudOf(speed_t speed);

}  // namespace serial
