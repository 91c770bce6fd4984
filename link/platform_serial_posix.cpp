#include "link/platform_serial.h"
#include "link/port_router.h"
#include "link/sysfs_ports.h"
#include "link/termios_device.h"

namespace serial {

std::unique_ptr<SerialDevice> MakeLocalSerialDevice(common::Clock& clock) {
    return std::make_unique<TermiosDevice>(clock);
}

std::unique_ptr<PortEnumeration> MakePortEnumeration(const std::string& sysfsRoot) {
    return std::make_unique<SysfsPortEnumeration>(sysfsRoot);
}

}  // namespace serial
