#pragma once
// The device the front ends get: it picks its backend when it is opened, from the port
// string. rfc2217:// and socket:// reach a device server on the network, anything else is
// this machine's serial port. Every call after open goes to the chosen backend.
#include <memory>

#include "link/serial_device.h"

namespace serial {

class PortRouter final : public SerialDevice {
  public:
    explicit PortRouter(common::Clock& clock);
    ~PortRouter() override;
    PortRouter(const PortRouter&) = delete;
    PortRouter& operator=(const PortRouter&) = delete;

    OpenResult open(const std::string& port) override;
    SettingsResult configure(const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    bool write(std::string_view bytes, common::Millis timeout, WriteEnd end) override;
    ReadResult read(common::Millis timeout) override;
    void watchNegotiation(NegotiationSink sink) override;

  private:
    common::Clock& clock_;
    std::unique_ptr<SerialDevice> backend_;
    NegotiationSink negotiationSink_;
};

// This platform's serial port (termios or the COM interface); the build picks it.
std::unique_ptr<SerialDevice> MakeLocalSerialDevice(common::Clock& clock);

}  // namespace serial
