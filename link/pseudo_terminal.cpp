#include "link/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "link/stop_signals.h"
#include "link/termios_settings.h"

namespace serial {

std::unique_ptr<PseudoTerminal> PseudoTerminal::Create(const std::string& linkPath,
                                                       std::string& error) {
    std::unique_ptr<PseudoTerminal> pty(new PseudoTerminal());
    pty->master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (pty->master_ < 0 || ::grantpt(pty->master_) != 0 || ::unlockpt(pty->master_) != 0) {
        error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        return nullptr;
    }
    char name[128] = {};
    if (::ptsname_r(pty->master_, name, sizeof name) != 0) {
        error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        return nullptr;
    }
    pty->slavePath_ = name;
    pty->slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (pty->slave_ < 0) {
        error = std::string("cannot open ") + name + ": " + std::strerror(errno);
        return nullptr;
    }
    // Raw until the client sets its own line; the default speed (38400) is not one the
    // devices speak, so a client that configures nothing meets a silent device.
    termios t{};
    ::tcgetattr(pty->slave_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(pty->slave_, TCSANOW, &t);
    pty->watchClients();
    std::error_code ec;
    // A link left by an earlier run is replaced; anything else at the path is the user's
    // and stays.
    const auto existing = std::filesystem::symlink_status(linkPath, ec);
    if (std::filesystem::exists(existing) && !std::filesystem::is_symlink(existing)) {
        error = "cannot create the link " + linkPath + ": it exists and is not a symbolic link";
        return nullptr;
    }
    std::filesystem::remove(linkPath, ec);
    std::filesystem::create_symlink(name, linkPath, ec);
    if (ec) {
        error = "cannot create the link " + linkPath + ": " + ec.message();
        return nullptr;
    }
    pty->linkPath_ = linkPath;
    return pty;
}

PseudoTerminal::~PseudoTerminal() {
    if (!linkPath_.empty()) {
        std::error_code ec;
        std::filesystem::remove(linkPath_, ec);
    }
    if (clientWatch_ >= 0) ::close(clientWatch_);
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

void PseudoTerminal::watchClients() {
    // Without the watch the simulator still serves; only a killed client's exclusive flag
    // then stays until the simulator restarts, so say so.
    clientWatch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (clientWatch_ >= 0 && ::inotify_add_watch(clientWatch_, slavePath_.c_str(),
                                                 IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) >= 0)
        return;
    std::fprintf(stderr,
                 "warning: cannot watch %s for clients (%s); a client that is killed may leave "
                 "the port locked for other users until the simulator restarts\n",
                 slavePath_.c_str(), std::strerror(errno));
    if (clientWatch_ >= 0) ::close(clientWatch_);
    clientWatch_ = -1;
}

void PseudoTerminal::releaseAfterClient() {
    alignas(inotify_event) char buffer[4096];
    bool overflowed = false;
    for (;;) {
        ssize_t n = ::read(clientWatch_, buffer, sizeof buffer);
        if (n <= 0) break;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->mask & IN_OPEN) ++clientsOpen_;
            if (event->mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)) --clientsOpen_;
            if (event->mask & IN_Q_OVERFLOW) overflowed = true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    // Events lost to an overflow leave the count unknown: trust the next close.
    if (overflowed || clientsOpen_ < 0) clientsOpen_ = 0;
    if (clientsOpen_ == 0) ::ioctl(slave_, TIOCNXCL);
}

ObservedLine PseudoTerminal::observedLine() const {
    ObservedLine line;
    termios t{};
    if (::tcgetattr(slave_, &t) != 0) return line;
    line.baud = BaudOf(cfgetospeed(&t));
    switch (t.c_cflag & CSIZE) {
        case CS5:
            line.dataBits = 5;
            break;
        case CS6:
            line.dataBits = 6;
            break;
        case CS7:
            line.dataBits = 7;
            break;
        default:
            line.dataBits = 8;
            break;
    }
    line.stopBits = (t.c_cflag & CSTOPB) ? 2 : 1;
    line.parity = (t.c_cflag & PARENB) != 0;
    return line;
}

std::optional<std::uint8_t> PseudoTerminal::readByte(common::Millis timeout) {
    pollfd p[2] = {{master_, POLLIN, 0}, {clientWatch_, POLLIN, 0}};
    const nfds_t count = clientWatch_ >= 0 ? 2 : 1;
    int ready;
    do {
        ready = ::poll(p, count, static_cast<int>(timeout.count()));
    } while (ready < 0 && errno == EINTR && !StopRequested());
    // A client's open or close ends the wait early, as a quiet line would; the callers
    // read again.
    if (ready > 0 && count == 2 && (p[1].revents & POLLIN)) releaseAfterClient();
    if (ready <= 0 || !(p[0].revents & POLLIN)) return std::nullopt;
    std::uint8_t byte = 0;
    if (::read(master_, &byte, 1) != 1) return std::nullopt;
    return byte;
}

bool PseudoTerminal::write(std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        // A client that never reads fills the line; a stop signal must still end the
        // simulator instead of retrying the blocked write for ever (an interrupted write may
        // also return the part it got through).
        if (StopRequested()) return false;
        ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            return false;
        }
    }
    return true;
}

void PseudoTerminal::flushInput() {
    ::tcflush(master_, TCIFLUSH);
}

}  // namespace serial
