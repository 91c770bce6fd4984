#pragma once
// A serial line on a device server, reached as socket://HOST:PORT: raw TCP, the bytes as
// they are. The line settings are the server's own; configure() accepts whatever is asked,
// since nothing can be told to the server.
#include <deque>

#include "link/serial_device.h"
#include "link/tcp_connection.h"

namespace serial {

class SocketDevice final : public SerialDevice {
  public:
    // A server that holds the port for another client says so at once and closes the
    // connection; this long after connecting the port counts as ours.
    static constexpr common::Millis kInUseNoticeWait{200};

    explicit SocketDevice(common::Clock& clock);
    ~SocketDevice() override;
    SocketDevice(const SocketDevice&) = delete;
    SocketDevice& operator=(const SocketDevice&) = delete;

    OpenResult open(const std::string& port) override;
    SettingsResult configure(const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    bool write(std::string_view bytes, common::Millis timeout, WriteEnd end) override;
    ReadResult read(common::Millis timeout) override;

  private:
    common::Clock& clock_;
    TcpConnection connection_;
    std::deque<std::uint8_t> data_;
    bool gone_ = false;
};

}  // namespace serial
