#include "link/device_path.h"

namespace serial {

// Every COM port is opened through the device namespace, \\.\com5: com10 and above can be
// opened no other way, and for the lower numbers it is the same device. A name that already
// is a path (\\.\com5, \\?\..., a folder's file) is used as it is.
std::string DevicePathFor(const std::string& portName) {
    if (portName.find('\\') != std::string::npos || portName.find('/') != std::string::npos)
        return portName;
    return "\\\\.\\" + portName;
}

}  // namespace serial
