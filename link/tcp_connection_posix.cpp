// POSIX sockets for the TCP connection of the network ports.
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "link/stop_signals.h"
#include "link/tcp_connection.h"
#include "link/tcp_connection_platform.h"

namespace serial {

namespace {

OpenError ReasonForConnectErrno(int error) {
    switch (error) {
        case ECONNREFUSED:
            return OpenError::Refused;
        case EHOSTUNREACH:
        case ENETUNREACH:
        case ENETDOWN:
        case EHOSTDOWN:
            return OpenError::Unreachable;
        case ETIMEDOUT:
            return OpenError::TimedOut;
        default:
            return OpenError::Other;
    }
}

}  // namespace

namespace tcp {

bool NetworkAvailable() {
    return true;
}

LookupAnswer LookUp(const std::string& host, std::uint16_t port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int status = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    LookupAnswer answer;
    if (status != 0) {
        answer.failure = status == EAI_AGAIN || status == EAI_SYSTEM ? OpenError::Unreachable
                                                                     : OpenError::NoSuchHost;
        return answer;
    }
    for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(a->ai_addr);
        answer.addresses.push_back(
            {a->ai_family, a->ai_socktype, a->ai_protocol, {bytes, bytes + a->ai_addrlen}});
    }
    ::freeaddrinfo(found);
    return answer;
}

}  // namespace tcp

struct TcpConnection::State {
    int fd = -1;
};

OpenError TcpConnection::connectTo(const tcp::Address& address, common::Millis deadline) {
    const int fd = ::socket(address.family, address.socketType | SOCK_CLOEXEC | SOCK_NONBLOCK,
                            address.protocol);
    if (fd < 0) return OpenError::Other;
    const auto* target = reinterpret_cast<const sockaddr*>(address.socketAddress.data());
    int error = 0;
    if (::connect(fd, target, static_cast<socklen_t>(address.socketAddress.size())) != 0) {
        error = errno;
        while (error == EINPROGRESS || error == EINTR) {
            if (StopRequested()) {
                ::close(fd);
                return OpenError::Stopped;
            }
            const int left = tcp::RemainingMs(clock_, deadline);
            if (left == 0) {
                error = ETIMEDOUT;
                break;
            }
            pollfd p{fd, POLLOUT, 0};
            const int ready =
                ::poll(&p, 1, std::min(left, static_cast<int>(tcp::kStopCheck.count())));
            if (ready < 0 && errno != EINTR) {
                error = errno;
                break;
            }
            if (ready > 0) {
                socklen_t length = sizeof error;
                if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
                break;
            }
        }
    }
    if (error != 0) {
        ::close(fd);
        return ReasonForConnectErrno(error);
    }
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    state_->fd = fd;
    return OpenError::None;
}

TcpConnection::TcpConnection(common::Clock& clock)
    : clock_(clock), state_(std::make_unique<State>()) {}

TcpConnection::~TcpConnection() {
    close();
}

bool TcpConnection::isOpen() const {
    return state_->fd >= 0;
}

void TcpConnection::close() {
    if (state_->fd < 0) return;
    // What was sent goes out before the end of the connection: unread bytes would make the
    // close a reset, which may drop the last request, so they are taken first.
    ::shutdown(state_->fd, SHUT_WR);
    char unread[256];
    while (::recv(state_->fd, unread, sizeof unread, MSG_DONTWAIT) > 0) {
    }
    ::close(state_->fd);
    state_->fd = -1;
}

TcpConnection::IoStatus TcpConnection::send(std::string_view bytes, common::Millis timeout) {
    if (state_->fd < 0) return IoStatus::Gone;
    const common::Millis deadline = clock_.now() + timeout;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::send(state_->fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return IoStatus::Gone;
        const int left = tcp::RemainingMs(clock_, deadline);
        if (left == 0) return IoStatus::TimedOut;
        pollfd p{state_->fd, POLLOUT, 0};
        if (::poll(&p, 1, left) < 0 && errno != EINTR) return IoStatus::Gone;
    }
    return IoStatus::Done;
}

TcpConnection::Received TcpConnection::receive(common::Millis timeout) {
    constexpr size_t kChunk = 4096;
    if (state_->fd < 0) return {IoStatus::Gone, {}};
    const common::Millis deadline = clock_.now() + timeout;
    for (;;) {
        pollfd p{state_->fd, POLLIN, 0};
        // A stop request interrupts the wait; it goes on for the rest of its time-out.
        const int ready = ::poll(&p, 1, tcp::RemainingMs(clock_, deadline));
        if (ready < 0) {
            if (errno == EINTR) continue;
            return {IoStatus::Gone, {}};
        }
        if (ready == 0) return {IoStatus::TimedOut, {}};
        std::string bytes(kChunk, '\0');
        const ssize_t n = ::recv(state_->fd, bytes.data(), bytes.size(), 0);
        if (n > 0) {
            bytes.resize(static_cast<size_t>(n));
            return {IoStatus::Done, std::move(bytes)};
        }
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        return {IoStatus::Gone, {}};  // closed by the server (0) or reset
    }
}

}  // namespace serial
