#include "link/termios_device.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include "link/deadline.h"
#include "link/device_path.h"
#include "link/open_sentences.h"
#include "link/stop_signals.h"  // the port is put back when a second stop ends the program
#include "link/termios_settings.h"

namespace serial {

struct TermiosDevice::State {
    int fd = -1;
    termios previous{};
    bool havePrevious = false;
    int baud = 9600;  // for the line time of bytes still queued
    common::Millis drainLimit{1000};
};

namespace {

OpenError ReasonForErrno(int error) {
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

OpenResult OpenFailed(int error, const std::string& path) {
    const OpenError reason = ReasonForErrno(error);
    if (reason == OpenError::NoPermission)
        return OpenFailure(reason, path +
                                       " may not be opened by this user: add the user to the "
                                       "group that owns the device (often \"dialout\", see "
                                       "ls -l " +
                                       path + ") and log in again");
    return OpenFailure(reason, PlainOpenSentence(reason, path));
}

// The open port and its old settings, for a second stop request that ends the program at
// once: the handler puts them back with one tcsetattr (async-signal-safe).
volatile std::sig_atomic_t openForImmediateEnd = -1;
termios previousForImmediateEnd{};

void PutLineBackAtImmediateEnd() {
    const int fd = openForImmediateEnd;
    if (fd >= 0) ::tcsetattr(fd, TCSANOW, &previousForImmediateEnd);
}

void RememberLineForImmediateEnd(int fd, const termios& previous) {
    openForImmediateEnd = -1;
    previousForImmediateEnd = previous;
    openForImmediateEnd = fd;
    SetImmediateEndAction(PutLineBackAtImmediateEnd);
}

void ForgetLineForImmediateEnd(int fd) {
    if (openForImmediateEnd == fd) openForImmediateEnd = -1;
}

// The slave end of a Unix98 pseudo-terminal (a simulator's line), told by its device number.
bool IsPseudoTerminal(int fd) {
    constexpr unsigned kFirstPtySlaveMajor = 136;
    constexpr unsigned kPtySlaveMajors = 8;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned m = major(st.st_rdev);
    return m >= kFirstPtySlaveMajor && m < kFirstPtySlaveMajor + kPtySlaveMajors;
}

// Waits until the bytes handed to the driver have left the port, or gives up at the deadline
// and drops them (a line that does not drain must not send a stale request later). tcdrain
// alone could block for ever on a converter that stopped sending, so the output queue is
// watched instead, each wait about half the line time of what is still queued.
bool WaitDrained(int fd, int baud, common::Clock& clock, common::Millis deadline) {
    constexpr long kBitsPerChar = 11;
    for (;;) {
        int queued = 0;
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0) break;  // not told: tcdrain decides
        if (queued <= 0) break;
        const int left = static_cast<int>(Remaining(clock, deadline).count());
        if (left == 0) {
            ::tcflush(fd, TCOFLUSH);
            return false;
        }
        const long lineMs = queued * kBitsPerChar * 1000 / (baud > 0 ? baud : 9600);
        clock.sleep(common::Millis{std::clamp<long>(lineMs / 2, 1, left)});
    }
    // The driver's queue is empty; what is left is the converter's own small buffer.
    while (::tcdrain(fd) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
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

OpenResult TermiosDevice::open(const std::string& port) {
    close();
    const std::string path = DevicePathFor(port);
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return OpenFailed(errno, path);
    if (!::isatty(fd)) {
        ::close(fd);
        return OpenFailure(OpenError::NotATerminal,
                           PlainOpenSentence(OpenError::NotATerminal, path));
    }
    // Exclusive use: TIOCEXCL stops further opens of the tty (root passes it), the advisory
    // lock is what other serial programs look at.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK
                   ? OpenFailure(OpenError::Busy, PlainOpenSentence(OpenError::Busy, path))
                   : OpenFailed(error, path);
    }
    ::ioctl(fd, TIOCEXCL);
    // A freshly opened port starts with empty buffers: bytes the device sent to an earlier
    // user of the line (or after it had gone) are not answers to this program's requests.
    ::tcflush(fd, TCIOFLUSH);
    state_->fd = fd;
    state_->havePrevious = ::tcgetattr(fd, &state_->previous) == 0;
    if (state_->havePrevious) RememberLineForImmediateEnd(fd, state_->previous);
    return {};
}

SettingsResult TermiosDevice::configure(const LineSettings& settings) {
    int fd = state_->fd;
    if (fd < 0) return SettingsResult::Refused();
    termios current{};
    if (::tcgetattr(fd, &current) != 0) return SettingsResult::Refused();
    // A speed change must not cut off bytes still on their way out.
    WaitDrained(fd, state_->baud, clock_, clock_.now() + state_->drainLimit);
    termios wanted = BuildTermios(current, settings);
    if (::tcsetattr(fd, TCSANOW, &wanted) != 0) {
        // A pseudo-terminal drops the parity flag; the C library then reports the whole call
        // as refused (EINVAL), although everything else was applied. On a pseudo-terminal that
        // is what the line can hold; on a real port a refused parity is a refusal.
        termios applied{};
        if (errno != EINVAL || !IsPseudoTerminal(fd) || ::tcgetattr(fd, &applied) != 0 ||
            !SameLineExceptParity(applied, wanted))
            return SettingsResult::Refused();
    }
    state_->baud = settings.baud;
    state_->drainLimit = settings.writeTotal;
    // DTR and RTS are held as the program's table says. A pseudo-terminal has no modem
    // lines and refuses these calls: that is not an error.
    int lines = TIOCM_DTR;
    ::ioctl(fd, settings.dtrOn ? TIOCMBIS : TIOCMBIC, &lines);
    lines = TIOCM_RTS;
    ::ioctl(fd, settings.rtsOn ? TIOCMBIS : TIOCMBIC, &lines);
    return {};
}

void TermiosDevice::close() {
    if (state_->fd < 0) return;
    ForgetLineForImmediateEnd(state_->fd);
    // The last bytes leave at this program's speed before the old settings come back.
    WaitDrained(state_->fd, state_->baud, clock_, clock_.now() + state_->drainLimit);
    if (state_->havePrevious) ::tcsetattr(state_->fd, TCSANOW, &state_->previous);
    ::ioctl(state_->fd, TIOCNXCL);
    ::close(state_->fd);
    state_->fd = -1;
    state_->havePrevious = false;
}

bool TermiosDevice::write(std::string_view bytes, common::Millis timeout, WriteEnd end) {
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
        int left = static_cast<int>(Remaining(clock_, deadline).count());
        if (left == 0) return false;
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, left) < 0 && errno != EINTR) return false;
    }
    // HandedOver: the driver has every byte; the answer's wait may start. Drained: return only
    // when the bytes have left the port, within the same time-out.
    if (end == WriteEnd::HandedOver) return true;
    return WaitDrained(fd, state_->baud, clock_, deadline);
}

ReadResult TermiosDevice::read(common::Millis timeout) {
    int fd = state_->fd;
    const common::Millis deadline = clock_.now() + timeout;
    // A port that is not open has nothing to wait for.
    if (fd < 0) return {ReadStatus::Gone};
    for (;;) {
        int left = static_cast<int>(Remaining(clock_, deadline).count());
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
    clock_.sleep(Remaining(clock_, deadline));
    return {ReadStatus::Gone};
}

}  // namespace serial
