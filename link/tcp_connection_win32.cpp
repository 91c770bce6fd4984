// Winsock's TCP connection for the network ports.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "link/open_sentences.h"
#include "link/stop_signals.h"
#include "link/tcp_connection.h"

namespace serial {

namespace {

constexpr common::Millis kStopCheck{100};

int RemainingMs(common::Clock& clock, common::Millis deadline) {
    auto left = (deadline - clock.now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Winsock is started once per program and left running until it ends.
bool StartWinsock() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

OpenError ReasonForConnectError(int error) {
    switch (error) {
        case WSAECONNREFUSED:
            return OpenError::Refused;
        case WSAEHOSTUNREACH:
        case WSAENETUNREACH:
        case WSAENETDOWN:
        case WSAEHOSTDOWN:
            return OpenError::Unreachable;
        case WSAETIMEDOUT:
            return OpenError::TimedOut;
        default:
            return OpenError::Other;
    }
}

timeval Timeval(int ms) {
    constexpr int kMsPerSecond = 1000;
    return timeval{ms / kMsPerSecond, (ms % kMsPerSecond) * kMsPerSecond};
}

// The name lookup cannot be given a time-out, so it runs on a thread of its own that is
// left behind when it takes too long or the user stops.
struct Lookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    int status = 0;
    addrinfo* addresses = nullptr;
    ~Lookup() {
        if (addresses != nullptr) freeaddrinfo(addresses);
    }
};

OpenError Resolve(const std::string& host, std::uint16_t port, common::Clock& clock,
                  common::Millis deadline, std::shared_ptr<Lookup>& lookup) {
    lookup = std::make_shared<Lookup>();
    std::thread([lookup, host, service = std::to_string(port)] {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_protocol = IPPROTO_TCP;
        addrinfo* found = nullptr;
        const int status = getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
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
    if (lookup->status != 0 || lookup->addresses == nullptr)
        return lookup->status == WSATRY_AGAIN ? OpenError::Unreachable : OpenError::NoSuchHost;
    return OpenError::None;
}

SOCKET ConnectOne(const addrinfo& address, common::Clock& clock, common::Millis deadline,
                  OpenError& reason) {
    SOCKET s = socket(address.ai_family, address.ai_socktype, address.ai_protocol);
    if (s == INVALID_SOCKET) {
        reason = OpenError::Other;
        return INVALID_SOCKET;
    }
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    int error = 0;
    if (connect(s, address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0) {
        error = WSAGetLastError();
        while (error == WSAEWOULDBLOCK || error == WSAEINPROGRESS) {
            if (StopRequested()) {
                closesocket(s);
                reason = OpenError::Stopped;
                return INVALID_SOCKET;
            }
            const int left = RemainingMs(clock, deadline);
            if (left == 0) {
                error = WSAETIMEDOUT;
                break;
            }
            fd_set writable;
            fd_set failed;
            FD_ZERO(&writable);
            FD_ZERO(&failed);
            FD_SET(s, &writable);
            FD_SET(s, &failed);
            timeval wait = Timeval(std::min(left, static_cast<int>(kStopCheck.count())));
            const int ready = select(0, nullptr, &writable, &failed, &wait);
            if (ready == SOCKET_ERROR) {
                error = WSAGetLastError();
                break;
            }
            if (ready > 0) {
                int length = sizeof error;
                error = 0;
                getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
                if (error == 0 && FD_ISSET(s, &failed)) error = WSAECONNREFUSED;
                break;
            }
        }
    }
    if (error != 0) {
        reason = ReasonForConnectError(error);
        closesocket(s);
        return INVALID_SOCKET;
    }
    BOOL on = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    setsockopt(s, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&on), sizeof on);
    reason = OpenError::None;
    return s;
}

// Waits until the socket is readable (or writable): 1 when it is, 0 after the time-out,
// SOCKET_ERROR when the socket failed.
int WaitFor(SOCKET s, bool forWriting, int ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait = Timeval(ms);
    const int ready = forWriting ? select(0, nullptr, &set, nullptr, &wait)
                                 : select(0, &set, nullptr, nullptr, &wait);
    return ready;
}

}  // namespace

struct TcpConnection::State {
    SOCKET socket = INVALID_SOCKET;
};

TcpConnection::TcpConnection(common::Clock& clock)
    : clock_(clock), state_(std::make_unique<State>()) {}

TcpConnection::~TcpConnection() {
    close();
}

bool TcpConnection::isOpen() const {
    return state_->socket != INVALID_SOCKET;
}

void TcpConnection::close() {
    if (state_->socket == INVALID_SOCKET) return;
    closesocket(state_->socket);
    state_->socket = INVALID_SOCKET;
}

OpenResult TcpConnection::connect(const std::string& host, std::uint16_t port,
                                  common::Millis timeout, const std::string& portName) {
    close();
    if (!StartWinsock())
        return OpenFailure(OpenError::Other, portName + ": the network is not available");
    const common::Millis deadline = clock_.now() + timeout;
    std::shared_ptr<Lookup> lookup;
    OpenError reason = Resolve(host, port, clock_, deadline, lookup);
    if (reason != OpenError::None)
        return OpenFailure(reason, NetworkOpenSentence(reason, portName, host));
    for (const addrinfo* a = lookup->addresses; a != nullptr; a = a->ai_next) {
        OpenError tried = OpenError::Other;
        const SOCKET s = ConnectOne(*a, clock_, deadline, tried);
        if (s != INVALID_SOCKET) {
            state_->socket = s;
            return {};
        }
        if (reason == OpenError::None || reason == OpenError::Other) reason = tried;
        if (tried == OpenError::Stopped || tried == OpenError::TimedOut) {
            reason = tried;
            break;
        }
    }
    return OpenFailure(reason, NetworkOpenSentence(reason, portName, host));
}

TcpConnection::IoStatus TcpConnection::send(std::string_view bytes, common::Millis timeout) {
    if (!isOpen()) return IoStatus::Gone;
    const common::Millis deadline = clock_.now() + timeout;
    size_t done = 0;
    while (done < bytes.size()) {
        const int n =
            ::send(state_->socket, bytes.data() + done, static_cast<int>(bytes.size() - done), 0);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK) return IoStatus::Gone;
        const int left = RemainingMs(clock_, deadline);
        if (left == 0) return IoStatus::TimedOut;
        if (WaitFor(state_->socket, true, left) == SOCKET_ERROR) return IoStatus::Gone;
    }
    return IoStatus::Done;
}

TcpConnection::Received TcpConnection::receive(common::Millis timeout) {
    constexpr size_t kChunk = 4096;
    if (!isOpen()) return {IoStatus::Gone, {}};
    const common::Millis deadline = clock_.now() + timeout;
    for (;;) {
        const int ready = WaitFor(state_->socket, false, RemainingMs(clock_, deadline));
        if (ready == SOCKET_ERROR) return {IoStatus::Gone, {}};
        if (ready == 0) return {IoStatus::TimedOut, {}};
        std::string bytes(kChunk, '\0');
        const int n = recv(state_->socket, bytes.data(), static_cast<int>(bytes.size()), 0);
        if (n > 0) {
            bytes.resize(static_cast<size_t>(n));
            return {IoStatus::Done, std::move(bytes)};
        }
        if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) continue;
        return {IoStatus::Gone, {}};  // closed by the server (0) or reset
    }
}

}  // namespace serial
