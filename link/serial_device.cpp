#include "link/serial_device.h"

namespace serial {

std::string DescribeOpenError(OpenError error, const std::string& path) {
    switch (error) {
        case OpenError::None:
            return path + " is open";
        case OpenError::Absent:
            return path + " does not exist: is the USB-serial converter plugged in?";
        case OpenError::Busy:
            return path + " is in use by another program: close it and retry";
        case OpenError::NoPermission:
            return path +
                   " may not be opened by this user: add the user to the group that owns the "
                   "device (often \"dialout\", see ls -l " +
                   path + ") and log in again";
        case OpenError::NotATerminal:
            return path + " is not a serial port";
        case OpenError::Other:
            break;
    }
    return path + " could not be opened";
}

}  // namespace serial
