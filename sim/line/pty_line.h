#pragma once
// The device's end of a pseudo-terminal (plcsim and displaysim with --link).
#include "link/pseudo_terminal.h"
#include "sim/line/device_line.h"

namespace sim {

class PtyLine final : public DeviceLine {
  public:
    explicit PtyLine(serial::PseudoTerminal& pty) : pty_(pty) {}
    std::optional<std::uint8_t> readByte(common::Millis timeout) override {
        return pty_.readByte(timeout);
    }
    bool write(std::string_view bytes) override { return pty_.write(bytes); }
    // Linux's pseudo-terminal keeps speed, character size and stop bits, never the parity.
    LineSeen lineSeen() const override {
        const serial::ObservedLine line = pty_.observedLine();
        return LineSeen{line.baud, line.dataBits, line.stopBits, ParitySeen::NotVisible};
    }

  private:
    serial::PseudoTerminal& pty_;
};

}  // namespace sim
