#include "link/termios_device.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "link/termios_settings.h"

namespace serial {

struct TermiosDevice::State {
    int fd = -1;
    termios previous{};
    bool havePrevious = false;
};

namespace {

OpenError MapOpenErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR:
            return OpenError::Absent;
        case EACCES:
        case EPERM:
        case EROFS:
            return OpenError::NoPermission;
        case EBUSY:
        case EWOULDBLOCK:
            return OpenError::Busy;
        default:
            return OpenError::Other;
    }
}

int RemainingMs(common::Clock& clock, common::Millis deadline) {
    auto left = (deadline - clock.now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

TermiosDevice::TermiosDevice(common::Clock& clock)
    : clock_(clock), state_(std::make_unique<State>()) {}

TermiosDevice::~TermiosDevice() {
    close();
}

bool TermiosDevice::isOpen() const {
    return state_->fd >= 0;
}

OpenError TermiosDevice::open(const std::string& path) {
    close();
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return MapOpenErrno(errno);
    if (!::isatty(fd)) {
        ::close(fd);
        return OpenError::NotATerminal;
    }
    // Exclusive use: TIOCEXCL stops further opens of the tty (root passes it), the advisory
    // lock is what other serial programs look at.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? OpenError::Busy : MapOpenErrno(error);
    }
    ::ioctl(fd, TIOCEXCL);
    // A freshly opened port starts with empty buffers: bytes the device sent to an earlier
    // user of the line (or after it had gone) are not answers to this program's requests.
    ::tcflush(fd, TCIOFLUSH);
    state_->fd = fd;
    state_->havePrevious = ::tcgetattr(fd, &state_->previous) == 0;
    return OpenError::None;
}

bool TermiosDevice::configure(const LineSettings& settings) {
    int fd = state_->fd;
    if (fd < 0) return false;
    termios current{};
    if (::tcgetattr(fd, &current) != 0) return false;
    termios wanted = BuildTermios(current, settings);
    if (::tcsetattr(fd, TCSANOW, &wanted) != 0) return false;
    // DTR and RTS are held as the program's table says. A pseudo-terminal has no modem
    // lines and refuses these calls: that is not an error.
    int lines = TIOCM_DTR;
    ::ioctl(fd, settings.dtrOn ? TIOCMBIS : TIOCMBIC, &lines);
    lines = TIOCM_RTS;
    ::ioctl(fd, settings.rtsOn ? TIOCMBIS : TIOCMBIC, &lines);
    return true;
}

void TermiosDevice::close() {
    if (state_->fd < 0) return;
    if (state_->havePrevious) ::tcsetattr(state_->fd, TCSANOW, &state_->previous);
    ::ioctl(state_->fd, TIOCNXCL);
    ::close(state_->fd);
    state_->fd = -1;
    state_->havePrevious = false;
}

bool TermiosDevice::write(std::string_view bytes, common::Millis timeout, WriteEnd /*end*/) {
    int fd = state_->fd;
    if (fd < 0) return false;
    const common::Millis deadline = clock_.now() + timeout;
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return false;
        int left = RemainingMs(clock_, deadline);
        if (left == 0) return false;
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, left) < 0 && errno != EINTR) return false;
    }
    // Return only when the bytes have left the port, so the protocol's pacing waits are
    // idle-line time.
    while (::tcdrain(fd) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

ReadResult TermiosDevice::read(common::Millis timeout) {
    int fd = state_->fd;
    const common::Millis deadline = clock_.now() + timeout;
    if (fd < 0) {
        clock_.sleep(timeout);
        return {ReadStatus::Gone};
    }
    for (;;) {
        int left = RemainingMs(clock_, deadline);
        pollfd p{fd, POLLIN, 0};
        int ready = ::poll(&p, 1, left);
        if (ready < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (ready == 0) return {};
        if (p.revents & POLLIN) {
            std::uint8_t byte = 0;
            ssize_t n = ::read(fd, &byte, 1);
            if (n == 1) return {ReadStatus::Byte, byte};
            if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            break;  // end of file or EIO: the converter is gone
        }
        break;  // POLLHUP / POLLERR without data
    }
    // A vanished device: the caller still sees its time-out pass, then learns it is gone.
    clock_.sleep(common::Millis{RemainingMs(clock_, deadline)});
    return {ReadStatus::Gone};
}

}  // namespace serial
