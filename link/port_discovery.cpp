#include "link/port_discovery.h"

namespace serial {

std::string ChooseConverterPort(const std::vector<PortInfo>& ports) {
    std::string chosen;
    for (const auto& port : ports)
        if (port.description.find("USB") != std::string::npos) chosen = port.name;
    return chosen;
}

std::string FindConverterPort(common::Frontend& frontend, PortEnumeration& enumeration) {
    std::string chosen = ChooseConverterPort(enumeration.EnumeratePorts());
    if (chosen.empty()) frontend.message("No USB Serial converter found\n");
    return chosen;
}

}  // namespace serial
