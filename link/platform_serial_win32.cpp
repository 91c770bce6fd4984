#include "link/platform_serial.h"
#include "link/port_router.h"
#include "link/setupapi_ports.h"
#include "link/win32_device.h"

namespace serial {

std::unique_ptr<SerialDevice> MakeLocalSerialDevice(common::Clock& clock) {
    return std::make_unique<Win32Device>(clock);
}

// Every Windows that runs a 64-bit program belongs to the NT family, so the port list needs
// no check of the system's version first.
std::unique_ptr<PortEnumeration> MakePortEnumeration(const std::string& /*sysfsRoot*/) {
    return std::make_unique<SetupApiPortEnumeration>();
}

}  // namespace serial
