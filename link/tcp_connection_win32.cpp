// Winsock's TCP connection for the network ports.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <string>

#include "link/stop_signals.h"
#include "link/tcp_connection.h"
#include "link/tcp_connection_platform.h"

namespace serial {

namespace {

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

namespace tcp {

// Winsock is started once per program and left running until it ends.
bool NetworkAvailable() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

LookupAnswer LookUp(const std::string& host, std::uint16_t port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* found = nullptr;
    const int status = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    LookupAnswer answer;
    if (status != 0) {
        answer.failure = status == WSATRY_AGAIN ? OpenError::Unreachable : OpenError::NoSuchHost;
        return answer;
    }
    for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(a->ai_addr);
        answer.addresses.push_back(
            {a->ai_family, a->ai_socktype, a->ai_protocol, {bytes, bytes + a->ai_addrlen}});
    }
    freeaddrinfo(found);
    return answer;
}

}  // namespace tcp

struct TcpConnection::State {
    SOCKET socket = INVALID_SOCKET;
};

OpenError TcpConnection::connectTo(const tcp::Address& address, common::Millis deadline) {
    const SOCKET s = socket(address.family, address.socketType, address.protocol);
    if (s == INVALID_SOCKET) return OpenError::Other;
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    const auto* target = reinterpret_cast<const sockaddr*>(address.socketAddress.data());
    int error = 0;
    if (::connect(s, target, static_cast<int>(address.socketAddress.size())) != 0) {
        error = WSAGetLastError();
        while (error == WSAEWOULDBLOCK || error == WSAEINPROGRESS) {
            if (StopRequested()) {
                closesocket(s);
                return OpenError::Stopped;
            }
            const int left = tcp::RemainingMs(clock_, deadline);
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
            timeval wait = Timeval(std::min(left, static_cast<int>(tcp::kStopCheck.count())));
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
        closesocket(s);
        return ReasonForConnectError(error);
    }
    BOOL on = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    setsockopt(s, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&on), sizeof on);
    state_->socket = s;
    return OpenError::None;
}

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
    // What was sent goes out before the end of the connection: unread bytes would make the
    // close a reset, which may drop the last request, so they are taken first.
    shutdown(state_->socket, SD_SEND);
    char unread[256];
    while (WaitFor(state_->socket, false, 0) > 0 &&
           recv(state_->socket, unread, sizeof unread, 0) > 0) {
    }
    closesocket(state_->socket);
    state_->socket = INVALID_SOCKET;
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
        const int left = tcp::RemainingMs(clock_, deadline);
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
        const int ready = WaitFor(state_->socket, false, tcp::RemainingMs(clock_, deadline));
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
