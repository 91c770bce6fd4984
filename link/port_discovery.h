#pragma once
// Finding the USB-serial converter among the machine's serial ports. Ports are listed from
// the sysfs tty class; the root is a parameter so tests can build a fake tree.
#include <string>
#include <vector>

#include "common/frontend.h"

namespace serial {

struct PortInfo {
    std::string name;         // tty name, for example ttyUSB0; opened as /dev/<name>
    std::string description;  // contains "USB" when the port sits on the USB bus
};

// Serial ports with hardware behind them, in natural name order (ttyS2 before ttyS10).
// Virtual terminals and placeholder UART ports without a chip are skipped.
std::vector<PortInfo> EnumeratePorts(const std::string& sysfsRoot = "/sys");

// The last port whose description contains "USB" (case-sensitive), or empty after the
// message "No USB Serial converter found\n"; the caller then ends the program.
std::string FindConverterPort(common::Frontend& frontend, const std::string& sysfsRoot = "/sys");

// The same choice without the message, for listings.
std::string ChooseConverterPort(const std::vector<PortInfo>& ports);

}  // namespace serial
