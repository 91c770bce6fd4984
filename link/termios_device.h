#pragma once
// The serial port of this machine: a tty (ttyUSB0, ttyS0, a pseudo-terminal of a
// simulator) driven through termios. The only place that talks to a real port.
#include <memory>

#include "link/serial_device.h"

namespace serial {

class TermiosDevice final : public SerialDevice {
  public:
    explicit TermiosDevice(common::Clock& clock);
    ~TermiosDevice() override;
    TermiosDevice(const TermiosDevice&) = delete;
    TermiosDevice& operator=(const TermiosDevice&) = delete;

    // `port` is a tty name (ttyUSB0, opened under /dev) or a path used as it is.
    OpenResult open(const std::string& port) override;
    SettingsResult configure(const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    bool write(std::string_view bytes, common::Millis timeout, WriteEnd end) override;
    ReadResult read(common::Millis timeout) override;

  private:
    struct State;
    common::Clock& clock_;
    std::unique_ptr<State> state_;
};

}  // namespace serial
