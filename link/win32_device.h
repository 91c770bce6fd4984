#pragma once
// The serial port on Windows: a COM device (\\.\com5) opened exclusively through the
// platform's serial file interface, with synchronous one-byte reads ended by the port's
// time-outs. The only place that talks to a real port there.
#include <memory>

#include "link/serial_device.h"

namespace serial {

class Win32Device final : public SerialDevice {
  public:
    explicit Win32Device(common::Clock& clock);
    ~Win32Device() override;
    Win32Device(const Win32Device&) = delete;
    Win32Device& operator=(const Win32Device&) = delete;

    // `port` is a COM port name (com5, opened as \\.\com5) or a path used as it is.
    OpenResult open(const std::string& port) override;
    SettingsResult configure(const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    bool write(std::string_view bytes, common::Millis timeout, WriteEnd end) override;
    ReadResult read(common::Millis timeout) override;

  private:
    struct State;
    // Gives the port these time-outs unless it has them already.
    bool useTimeouts(common::Millis readTotal, common::Millis writeTotal);
    common::Millis currentReadTotal() const;
    common::Millis currentWriteTotal() const;
    common::Clock& clock_;
    std::unique_ptr<State> state_;
};

}  // namespace serial
