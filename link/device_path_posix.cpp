#include "link/device_path.h"

namespace serial {

std::string DevicePathFor(const std::string& portName) {
    if (portName.find('/') != std::string::npos) return portName;
    return "/dev/" + portName;
}

}  // namespace serial
