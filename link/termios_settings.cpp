#include "link/termios_settings.h"

namespace serial {

speed_t SpeedConstant(int baud) {
    switch (baud) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return B0;
    }
}

int BaudOf(speed_t speed) {
    switch (speed) {
        case B1200:
            return 1200;
        case B2400:
            return 2400;
        case B4800:
            return 4800;
        case B9600:
            return 9600;
        case B19200:
            return 19200;
        case B38400:
            return 38400;
        case B57600:
            return 57600;
        case B115200:
            return 115200;
        default:
            return 0;
    }
}

termios BuildTermios(const termios& current, const LineSettings& settings) {
    termios t = current;
    cfmakeraw(&t);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | IGNPAR | PARMRK | INPCK);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    switch (settings.dataBits) {
        case 5:
            t.c_cflag |= CS5;
            break;
        case 6:
            t.c_cflag |= CS6;
            break;
        case 7:
            t.c_cflag |= CS7;
            break;
        default:
            t.c_cflag |= CS8;
            break;
    }
    // Parity is generated and checked by the port, but a byte that arrives with a parity or
    // framing error is delivered as received: with INPCK the driver would replace it by 0x00
    // (or drop it), and the protocol layer would take a damaged answer for silence or for a
    // different byte. The checksum of the telegram judges it instead.
    if (settings.parity == Parity::Even) t.c_cflag |= PARENB;
    if (settings.stopBits == 2) t.c_cflag |= CSTOPB;
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, SpeedConstant(settings.baud));
    cfsetospeed(&t, SpeedConstant(settings.baud));
    return t;
}

bool SameLineExceptParity(const termios& applied, const termios& wanted) {
    constexpr tcflag_t kLineFlags = CSIZE | CSTOPB | CREAD | CLOCAL | CRTSCTS;
    return cfgetospeed(&applied) == cfgetospeed(&wanted) &&
           cfgetispeed(&applied) == cfgetispeed(&wanted) &&
           (applied.c_cflag & kLineFlags) == (wanted.c_cflag & kLineFlags) &&
           applied.c_iflag == wanted.c_iflag && applied.c_oflag == wanted.c_oflag &&
           applied.c_lflag == wanted.c_lflag;
}

}  // namespace serial
