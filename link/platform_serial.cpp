#include "link/platform_serial.h"

#include "link/port_router.h"

namespace serial {

std::unique_ptr<SerialDevice> MakeSerialDevice(common::Clock& clock) {
    return std::make_unique<PortRouter>(clock);
}

std::vector<PortInfo> ListPorts(const std::string& sysfsRoot) {
    return MakePortEnumeration(sysfsRoot)->EnumeratePorts();
}

std::string FindConverterPort(common::Frontend& frontend, const std::string& sysfsRoot) {
    return FindConverterPort(frontend, *MakePortEnumeration(sysfsRoot));
}

}  // namespace serial
