#pragma once
// A listening TCP socket that serves one client at a time, as a serial device server does:
// a second client is told "Port already in use" and closed, and a client that goes frees
// the port for the next one. One implementation per platform (tcp_server_posix.cpp).
#include <memory>
#include <string>
#include <string_view>

#include "common/clock.h"

namespace sim {

class TcpServer {
  public:
    // Listens on host:port (0: a free one, see port()); nullptr and a reason when the
    // address can't be had.
    static std::unique_ptr<TcpServer> Listen(const std::string& host, int port, std::string& error);
    ~TcpServer();
    TcpServer(const TcpServer&) = delete;
    TcpServer& operator=(const TcpServer&) = delete;

    int port() const { return port_; }
    bool hasClient() const { return client_ >= 0; }
    // The connected client's address, for the simulators' notes.
    const std::string& clientName() const { return clientName_; }

    enum class Event { Bytes, Quiet, ClientCame, ClientLeft };
    // Waits up to the time-out for a client, or for bytes from the one connected (appended
    // to bytes). A stop request ends the wait as Quiet.
    Event wait(common::Millis timeout, std::string& bytes);
    // Sends all bytes to the client; false when there is none, it went, or a stop request
    // came while it did not take them.
    bool send(std::string_view bytes);

  private:
    TcpServer() = default;
    void acceptClient(Event& event);
    void dropClient();
    int listener_ = -1;
    int client_ = -1;
    int port_ = 0;
    std::string clientName_;
};

// What a device server answers a second client before it closes the connection.
inline constexpr std::string_view kPortInUseText = "Port already in use\r\n";

}  // namespace sim
