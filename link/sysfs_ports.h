#pragma once
// The Linux port list: ttys of the sysfs tty class that have hardware behind them. The root
// is a parameter so tests can build a fake tree.
#include <string>
#include <vector>

#include "link/port_discovery.h"

namespace serial {

// Serial ports with hardware behind them, in natural name order (ttyS2 before ttyS10).
// Virtual terminals and placeholder UART ports without a chip are skipped; a port on the USB
// bus is described as "USB Serial Port" with the product name.
std::vector<PortInfo> EnumeratePorts(const std::string& sysfsRoot = "/sys");

class SysfsPortEnumeration final : public PortEnumeration {
  public:
    explicit SysfsPortEnumeration(std::string sysfsRoot = "/sys");
    std::vector<PortInfo> EnumeratePorts() override;

  private:
    std::string root_;
};

}  // namespace serial
