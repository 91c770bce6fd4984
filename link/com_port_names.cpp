#include "link/com_port_names.h"

#include <cctype>

namespace serial {

namespace {
// Windows numbers its COM ports up to 256 traditionally and far below this in any case; the
// bound keeps a registry value of many digits from wrapping round to another port's number.
constexpr unsigned long long kLargestPortNumber = 99999999;
}  // namespace

std::optional<unsigned> ComPortNumber(const std::string& portName) {
    if (portName.size() < 4) return std::nullopt;
    for (size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(portName[i])) != "COM"[i]) return std::nullopt;
    }
    unsigned long long number = 0;
    for (size_t i = 3; i < portName.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(portName[i]);
        if (!std::isdigit(c)) return std::nullopt;
        number = number * 10 + (c - '0');
        if (number > kLargestPortNumber) return std::nullopt;
    }
    return static_cast<unsigned>(number);
}

std::vector<PortInfo> ComPortsOf(const std::vector<PortsClassDevice>& devices) {
    std::vector<PortInfo> ports;
    for (const auto& device : devices) {
        if (!device.portName) continue;
        auto number = ComPortNumber(*device.portName);
        if (!number) continue;
        PortInfo port;
        port.name = "com" + std::to_string(*number);
        port.description = device.description.value_or("").substr(0, kMaxPortDescription);
        ports.push_back(port);
    }
    return ports;
}

}  // namespace serial
