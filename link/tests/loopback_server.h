#pragma once
// A one-connection TCP server on 127.0.0.1 for the network port tests: the test scripts what
// the server expects and answers, on a thread of its own.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace testnet {

#ifdef _WIN32
using Socket = SOCKET;
inline void CloseSocket(Socket s) {
    closesocket(s);
}
constexpr Socket kNoSocket = INVALID_SOCKET;
#else
using Socket = int;
inline void CloseSocket(Socket s) {
    ::close(s);
}
constexpr Socket kNoSocket = -1;
#endif

// The accepted connection, as the script sees it. Reads give up after a few seconds.
class Peer {
  public:
    explicit Peer(Socket s) : socket_(s) {
#ifdef _WIN32
        DWORD ms = 5000;
#else
        timeval ms{5, 0};
#endif
        setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
    }
    // Exactly n bytes, or fewer when the client ended or went quiet.
    std::string read(size_t n) {
        std::string out;
        while (out.size() < n) {
            char buffer[256];
            const int want = static_cast<int>(std::min(sizeof buffer, n - out.size()));
            const auto got = recv(socket_, buffer, want, 0);
            if (got <= 0) break;
            out.append(buffer, static_cast<size_t>(got));
        }
        return out;
    }
    void send(const std::string& bytes) {
        ::send(socket_, bytes.data(), static_cast<int>(bytes.size()), 0);
    }
    // The client's next bytes must be `bytes`; a mismatch is kept for the test to show.
    void expect(const std::string& bytes, std::string& mismatch) {
        const std::string got = read(bytes.size());
        if (got != bytes && mismatch.empty()) mismatch = "unexpected bytes: " + Hex(got);
    }
    static std::string Hex(const std::string& bytes) {
        std::string out;
        char b[4];
        for (unsigned char c : bytes) {
            std::snprintf(b, sizeof b, "%02X ", c);
            out += b;
        }
        return out;
    }

  private:
    Socket socket_;
};

class LoopbackServer {
  public:
    using Script = std::function<void(Peer&)>;

    LoopbackServer() {
#ifdef _WIN32
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
#endif
        listen_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listen_, 4);
        socklen_t length = sizeof address;
        getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~LoopbackServer() {
        if (thread_.joinable()) thread_.join();
        CloseSocket(listen_);
    }
    std::uint16_t port() const {
        return port_;
    }
    std::string url(const std::string& scheme) const {
        return scheme + "://127.0.0.1:" + std::to_string(port_);
    }
    // Accepts one connection and runs the script on it; the connection is closed after.
    void serve(Script script) {
        thread_ = std::thread([this, script = std::move(script)] {
            Socket s = accept(listen_, nullptr, nullptr);
            if (s == kNoSocket) return;
            Peer peer(s);
            script(peer);
            CloseSocket(s);
        });
    }
    void join() {
        if (thread_.joinable()) thread_.join();
    }

  private:
    Socket listen_ = kNoSocket;
    std::uint16_t port_ = 0;
    std::thread thread_;
};

}  // namespace testnet
