#pragma once
// The platform's device path for a port name, used by the serial backend of each platform:
// "/dev/" in front of a bare tty name (ttyUSB0) on Linux, \\.\com5 on Windows; a path is
// used as it is.
#include <string>

namespace serial {

std::string DevicePathFor(const std::string& portName);

}  // namespace serial
