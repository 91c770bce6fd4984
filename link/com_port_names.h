#pragma once
// The Windows port list as the device-setup library gives it: for every device of the ports
// class its registry value "PortName" and its description. Which of them count as serial
// ports is decided here, apart from the library, so the rule is tested on every platform.
#include <optional>
#include <string>
#include <vector>

#include "link/port_discovery.h"

namespace serial {

// One device of the ports class. A value that could not be read (no key, not a string) is
// nullopt.
struct PortsClassDevice {
    std::optional<std::string> portName;
    std::optional<std::string> description;
};

// The descriptions the system keeps are at most this long.
constexpr size_t kMaxPortDescription = 255;

// n for a "PortName" of "COM" (any letter case) followed by the decimal digits of n; nullopt
// for anything else (LPT1, COM, COM3A, a number too large for a port).
std::optional<unsigned> ComPortNumber(const std::string& portName);

// The COM ports among the devices, in their order, named "com%u" in lower case whatever the
// registry's spelling; a description that can't be read is empty.
std::vector<PortInfo> ComPortsOf(const std::vector<PortsClassDevice>& devices);

}  // namespace serial
