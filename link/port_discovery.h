#pragma once
// Finding the USB-serial converter among the machine's serial ports. The rule is the same on
// every platform; the list it looks at comes from a PortEnumeration: the sysfs tty class on
// Linux, the device-setup library's ports class on Windows, a fixed list in tests.
#include <string>
#include <vector>

#include "common/frontend.h"

namespace serial {

struct PortInfo {
    std::string name;         // ttyUSB0 (opened as /dev/ttyUSB0), or com5 on Windows
    std::string description;  // contains "USB" when the port belongs to a USB-serial converter
};

// The machine's serial ports with their descriptions, in the order the platform lists them.
class PortEnumeration {
  public:
    virtual ~PortEnumeration() = default;
    virtual std::vector<PortInfo> EnumeratePorts() = 0;
};

// The last port whose description contains "USB" (case-sensitive), or empty.
std::string ChooseConverterPort(const std::vector<PortInfo>& ports);

// The same choice; when there is none, the message "No USB Serial converter found\n" and an
// empty name, after which the caller ends the program.
std::string FindConverterPort(common::Frontend& frontend, PortEnumeration& enumeration);

}  // namespace serial
