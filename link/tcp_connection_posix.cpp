#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "link/open_sentences.h"
#include "link/stop_signals.h"
#include "link/tcp_connection.h"

namespace serial {

namespace {

// How often a wait that a stop request may end looks at it.
constexpr common::Millis kStopCheck{100};

int RemainingMs(common::Clock& clock, common::Millis deadline) {
    auto left = (deadline - clock.now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

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

// The answer of one name lookup, shared with the thread that asks: the C library's lookup
// cannot be given a time-out, so it runs on its own and is left behind when it takes too
// long or the user stops.
struct Lookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    int status = 0;
    addrinfo* addresses = nullptr;
    ~Lookup() {
        if (addresses != nullptr) ::freeaddrinfo(addresses);
    }
};

// Resolves within the deadline. NoSuchHost, TimedOut or Stopped on failure.
OpenError Resolve(const std::string& host, std::uint16_t port, common::Clock& clock,
                  common::Millis deadline, std::shared_ptr<Lookup>& lookup) {
    lookup = std::make_shared<Lookup>();
    std::thread([lookup, host, service = std::to_string(port)] {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        int status = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
        std::lock_guard lock(lookup->mutex);
        lookup->status = status;
        lookup->addresses = found;
        lookup->finished = true;
        lookup->done.notify_all();
    }).detach();
    std::unique_lock lock(lookup->mutex);
    while (!lookup->finished) {
        if (StopRequested()) return OpenError::Stopped;
        const int left = RemainingMs(clock, deadline);
        if (left == 0) return OpenError::TimedOut;
        lookup->done.wait_for(lock, std::min(common::Millis{left}, kStopCheck));
    }
    if (lookup->status != 0 || lookup->addresses == nullptr) {
        return lookup->status == EAI_AGAIN || lookup->status == EAI_SYSTEM ? OpenError::Unreachable
                                                                           : OpenError::NoSuchHost;
    }
    return OpenError::None;
}

// Connects one address within the deadline; the socket on success, -1 and the reason else.
int ConnectOne(const addrinfo& address, common::Clock& clock, common::Millis deadline,
               OpenError& reason) {
    int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                      address.ai_protocol);
    if (fd < 0) {
        reason = OpenError::Other;
        return -1;
    }
    int error = 0;
    if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
        error = errno;
        while (error == EINPROGRESS || error == EINTR) {
            if (StopRequested()) {
                reason = OpenError::Stopped;
                ::close(fd);
                return -1;
            }
            const int left = RemainingMs(clock, deadline);
            if (left == 0) {
                error = ETIMEDOUT;
                break;
            }
            pollfd p{fd, POLLOUT, 0};
            const int ready = ::poll(&p, 1, std::min(left, static_cast<int>(kStopCheck.count())));
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
        reason = ReasonForConnectErrno(error);
        ::close(fd);
        return -1;
    }
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    reason = OpenError::None;
    return fd;
}

}  // namespace

struct TcpConnection::State {
    int fd = -1;
};

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
    ::close(state_->fd);
    state_->fd = -1;
}

OpenResult TcpConnection::connect(const std::string& host, std::uint16_t port,
                                  common::Millis timeout, const std::string& portName) {
    close();
    const common::Millis deadline = clock_.now() + timeout;
    std::shared_ptr<Lookup> lookup;
    OpenError reason = Resolve(host, port, clock_, deadline, lookup);
    if (reason != OpenError::None)
        return OpenFailure(reason, NetworkOpenSentence(reason, portName, host));
    // The lookup has finished, so its thread no longer touches the list.
    for (const addrinfo* a = lookup->addresses; a != nullptr; a = a->ai_next) {
        OpenError tried = OpenError::Other;
        const int fd = ConnectOne(*a, clock_, deadline, tried);
        if (fd >= 0) {
            state_->fd = fd;
            return {};
        }
        // The most telling reason wins: a refusal or no route over a generic failure.
        if (reason == OpenError::None || reason == OpenError::Other) reason = tried;
        if (tried == OpenError::Stopped || tried == OpenError::TimedOut) {
            reason = tried;
            break;
        }
    }
    return OpenFailure(reason, NetworkOpenSentence(reason, portName, host));
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
        const int left = RemainingMs(clock_, deadline);
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
        const int ready = ::poll(&p, 1, RemainingMs(clock_, deadline));
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
