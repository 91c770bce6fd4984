#pragma once
// What the front ends ask for to reach this machine's serial ports: the platform's device
// (termios on Linux, the COM interface on Windows) and its port list. The build picks the
// implementation; nothing above link/ names a platform's device.
#include <memory>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/frontend.h"
#include "link/port_discovery.h"
#include "link/serial_device.h"

namespace serial {

// The port device: it picks its backend from the port string given to open() (a network
// URL or this machine's serial port), so front ends need not know the port yet.
std::unique_ptr<SerialDevice> MakeSerialDevice(common::Clock& clock);

// The port list of this machine. `sysfsRoot` is where the Linux list reads the tty class
// (tests point it at a fake tree); the Windows list asks the device-setup library and has no
// root, so it ignores it.
std::unique_ptr<PortEnumeration> MakePortEnumeration(const std::string& sysfsRoot = "/sys");
std::vector<PortInfo> ListPorts(const std::string& sysfsRoot = "/sys");

// The converter's port from this machine's list (see FindConverterPort in port_discovery.h).
std::string FindConverterPort(common::Frontend& frontend, const std::string& sysfsRoot = "/sys");

}  // namespace serial
