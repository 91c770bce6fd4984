#pragma once
// The sentences a failed open gives the technician, where they are the same on every
// platform. Each backend builds its OpenResult from these or from its own platform's advice.
#include <string>

#include "link/serial_device.h"

namespace serial {

// A USB-serial converter's port name: ttyUSB*, ttyACM* (after any folder), or COMn in any
// letter case (after any \\.\ prefix).
bool IsConverterPortName(const std::string& path);

// "<path> does not exist", with the converter hint only for a converter's port name.
std::string MissingPortSentence(const std::string& path);

// The sentence for a reason that needs no platform's advice (Absent, Busy, NotATerminal,
// Other, Stopped); the backends add their own for the rest.
std::string PlainOpenSentence(OpenError reason, const std::string& path);

// The sentence for a network port that could not be reached (NoSuchHost, Refused,
// Unreachable, TimedOut, Stopped, Other); `portName` is the URL as given.
std::string NetworkOpenSentence(OpenError reason, const std::string& portName,
                                const std::string& host);

OpenResult OpenFailure(OpenError reason, std::string sentence);

}  // namespace serial
