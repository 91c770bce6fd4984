#pragma once
// The Windows port list: the present devices of the setup class "Ports", asked of the
// device-setup library, each with its registry value "PortName" and its device description.
#include <vector>

#include "link/com_port_names.h"
#include "link/port_discovery.h"

namespace serial {

// Every present device of the ports class (printers' LPT ports among them); empty when the
// class or the device set is not available.
std::vector<PortsClassDevice> ListPortsClassDevices();

class SetupApiPortEnumeration final : public PortEnumeration {
  public:
    std::vector<PortInfo> EnumeratePorts() override { return ComPortsOf(ListPortsClassDevices()); }
};

}  // namespace serial
