#pragma once
// The device served on the network (--listen, a URL as link/port_url.h reads it): raw bytes
// (socket://, where the server's line is fixed and taken as the device's own) or Telnet with the
// COM-PORT-OPTION (rfc2217://, where the client sets the line and the simulator judges what it
// set).
#include <deque>
#include <functional>
#include <string>

#include "link/port_url.h"
#include "sim/line/com_port_server.h"
#include "sim/line/device_line.h"
#include "sim/line/tcp_server.h"

namespace sim {

class NetworkLine final : public DeviceLine {
  public:
    // deviceLine: the line a raw client gets. note: told of clients coming and going.
    NetworkLine(TcpServer& server, serial::PortScheme scheme, LineSeen deviceLine,
                ComPortServer comPort, std::function<void(const std::string&)> note = {});

    std::optional<std::uint8_t> readByte(common::Millis timeout) override;
    bool write(std::string_view bytes) override;
    LineSeen lineSeen() const override;

  private:
    void take(const std::string& bytes);
    void clientLeft();
    TcpServer& server_;
    serial::PortScheme scheme_;
    LineSeen deviceLine_;
    ComPortServer comPort_;
    std::function<void(const std::string&)> note_;
    std::deque<std::uint8_t> received_;
};

// "socket://127.0.0.1:PORT" and the like, for the simulators' start line.
std::string ListenUrl(const serial::PortAddress& address);

}  // namespace sim
