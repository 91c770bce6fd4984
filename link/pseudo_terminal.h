#pragma once
// The device side of a simulated serial line: a pseudo-terminal whose slave end is reached
// through a symbolic link, so the programs open it like a port. Used by the simulators.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "link/stop_signals.h"  // a simulator ends its loop on a stop request

namespace serial {

// What the client set on the line, as the device sees it. Linux's pseudo-terminal keeps
// speed, character size and stop bits but drops the parity flag.
struct ObservedLine {
    int baud = 0;
    int dataBits = 0;
    int stopBits = 0;
    bool parity = false;
};

class PseudoTerminal {
  public:
    // Opens a pseudo-terminal and points linkPath at its slave. nullptr and a reason when
    // that fails.
    static std::unique_ptr<PseudoTerminal> Create(const std::string& linkPath, std::string& error);
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    ObservedLine observedLine() const;
    // One byte from the client, or nullopt after the time-out. While it waits it also
    // notices a client that has closed the port (see releaseAfterClient).
    std::optional<std::uint8_t> readByte(common::Millis timeout);
    bool write(std::string_view bytes);
    // Drops what the client sent and the device has not read yet.
    void flushInput();

  private:
    PseudoTerminal() = default;
    // The slave end stays open here, so the kernel never sees the client's close as the
    // last one and keeps the exclusive flag (TIOCEXCL) the client set: every later client
    // but root would be refused as busy. The opens and closes of the slave are counted
    // (inotify); when the last client's descriptor is gone, however its program ended,
    // the flag is cleared.
    void watchClients();
    void releaseAfterClient();
    int master_ = -1;
    int slave_ = -1;  // kept open so the master never sees a hang-up between clients
    int clientWatch_ = -1;
    int clientsOpen_ = 0;
    std::string slavePath_;
    std::string linkPath_;
};

}  // namespace serial
