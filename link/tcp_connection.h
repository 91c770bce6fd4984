#pragma once
// One TCP connection to a device server, for the network ports. The lookup and the choice of
// address are shared (tcp_connection.cpp); the sockets have one implementation per platform
// (POSIX sockets, Winsock), chosen by the build. Every wait is bounded by the time
// the caller gives; only connect() gives up early on a stop request.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "link/serial_device.h"

namespace serial {

namespace tcp {
struct Address;
}

class TcpConnection {
  public:
    // The longest a name lookup plus connect may take.
    static constexpr common::Millis kConnectTimeout{5000};

    explicit TcpConnection(common::Clock& clock);
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // Looks `host` up and connects, within `timeout` and until a stop request. `portName`
    // (the URL) names the port in the sentence of a failure. Small writes go out at once
    // (no Nagle delay): a request is a few bytes whose answer is waited for.
    OpenResult connect(const std::string& host, std::uint16_t port, common::Millis timeout,
                       const std::string& portName);
    bool isOpen() const;
    void close();

    enum class IoStatus { Done, TimedOut, Gone };
    // Sends every byte, or TimedOut when the connection took no more within `timeout`, Gone
    // when it ended.
    IoStatus send(std::string_view bytes, common::Millis timeout);
    struct Received {
        IoStatus status = IoStatus::TimedOut;
        std::string bytes;
    };
    // The bytes that came within `timeout`: Done with at least one byte, TimedOut with none,
    // Gone once the server closed or reset the connection (bytes before the end come first,
    // with Done).
    Received receive(common::Millis timeout);

  private:
    // Per platform: connects one address within the deadline and keeps the socket; None, or
    // why not (Stopped on a stop request, TimedOut at the deadline).
    OpenError connectTo(const tcp::Address& address, common::Millis deadline);

    struct State;
    common::Clock& clock_;
    std::unique_ptr<State> state_;
};

}  // namespace serial
