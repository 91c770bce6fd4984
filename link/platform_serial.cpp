#include "link/platform_serial.h"

namespace serial {

std::vector<PortInfo> ListPorts(const std::string& sysfsRoot) {
    return MakePortEnumeration(sysfsRoot)->EnumeratePorts();
}

std::string FindConverterPort(common::Frontend& frontend, const std::string& sysfsRoot) {
    return FindConverterPort(frontend, *MakePortEnumeration(sysfsRoot));
}

}  // namespace serial
