#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "link/stop_signals.h"
#include "sim/line/tcp_server.h"

namespace sim {

namespace {

constexpr int kBacklog = 4;
constexpr int kReceiveChunk = 4096;
// How long a send waits for room before it looks for a stop request again.
constexpr int kSendPollMs = 200;

std::string AddressText(const sockaddr_storage& address) {
    char host[NI_MAXHOST] = {};
    char service[NI_MAXSERV] = {};
    if (::getnameinfo(reinterpret_cast<const sockaddr*>(&address), sizeof address, host,
                      sizeof host, service, sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) != 0)
        return "an unknown address";
    return std::string(host) + ":" + service;
}

}  // namespace

std::unique_ptr<TcpServer> TcpServer::Listen(const std::string& host, int port,
                                             std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (int failed = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found)) {
        error = "cannot listen on " + host + ": " + ::gai_strerror(failed);
        return nullptr;
    }
    std::unique_ptr<TcpServer> server(new TcpServer());
    error = "cannot listen on " + host + ":" + service;
    for (addrinfo* a = found; a != nullptr && server->listener_ < 0; a = a->ai_next) {
        int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) continue;
        int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (::bind(fd, a->ai_addr, a->ai_addrlen) == 0 && ::listen(fd, kBacklog) == 0) {
            server->listener_ = fd;
        } else {
            error += std::string(": ") + std::strerror(errno);
            ::close(fd);
        }
    }
    ::freeaddrinfo(found);
    if (server->listener_ < 0) return nullptr;
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    ::getsockname(server->listener_, reinterpret_cast<sockaddr*>(&bound), &length);
    server->port_ = bound.ss_family == AF_INET6
                        ? ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port)
                        : ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    error.clear();
    return server;
}

TcpServer::~TcpServer() {
    dropClient();
    if (listener_ >= 0) ::close(listener_);
}

void TcpServer::dropClient() {
    if (client_ >= 0) ::close(client_);
    client_ = -1;
    clientName_.clear();
}

void TcpServer::acceptClient(Event& event) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    int fd = ::accept4(listener_, reinterpret_cast<sockaddr*>(&address), &length, SOCK_CLOEXEC);
    if (fd < 0) return;
    if (client_ >= 0) {
        // The port is held: say so and close, as a device server does.
        ::send(fd, kPortInUseText.data(), kPortInUseText.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        ::close(fd);
        return;
    }
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    client_ = fd;
    clientName_ = AddressText(address);
    event = Event::ClientCame;
}

TcpServer::Event TcpServer::wait(common::Millis timeout, std::string& bytes) {
    pollfd p[2] = {{listener_, POLLIN, 0}, {client_, POLLIN, 0}};
    const nfds_t count = client_ >= 0 ? 2 : 1;
    int ready;
    do {
        ready = ::poll(p, count, static_cast<int>(timeout.count()));
    } while (ready < 0 && errno == EINTR && !serial::StopRequested());
    if (ready <= 0) return Event::Quiet;
    Event event = Event::Quiet;
    if (p[0].revents & POLLIN) acceptClient(event);
    if (event == Event::ClientCame || count < 2 || p[1].revents == 0) return event;
    char chunk[kReceiveChunk];
    ssize_t n;
    do {
        n = ::recv(client_, chunk, sizeof chunk, 0);
    } while (n < 0 && errno == EINTR && !serial::StopRequested());
    if (n > 0) {
        bytes.append(chunk, static_cast<size_t>(n));
        return Event::Bytes;
    }
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return Event::Quiet;
    // End of stream, a reset or any other failure: the client has gone.
    dropClient();
    return Event::ClientLeft;
}

bool TcpServer::send(std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        if (client_ < 0 || serial::StopRequested()) return false;
        pollfd p{client_, POLLOUT, 0};
        if (::poll(&p, 1, kSendPollMs) <= 0) continue;
        ssize_t n =
            ::send(client_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno != EINTR && errno != EAGAIN) {
            dropClient();
            return false;
        }
    }
    return true;
}

}  // namespace sim
