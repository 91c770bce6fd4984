#pragma once
// Everything one run of the PLC tool talks to the PLC with: the serial link on the chosen
// port, the PLC programmer with the PLC state, and the connection check. Shared by the Qt
// dialog and quarnctl.
#include <string>

#include "common/clock.h"
#include "common/frontend.h"
#include "link/serial_link.h"
#include "monitor/station_search.h"
#include "plc/plc_programmer.h"

namespace quarnwin {

class QuarnSession {
  public:
    QuarnSession(serial::SerialDevice& device, common::Clock& clock, common::Frontend& frontend);

    // Opens the link on the port (19200 baud when fast). The port name is kept for
    // ChangeSpeed. False when the port could not be opened or configured.
    bool Open(const std::string& portName, bool fast);
    // A new speed: the open link takes the new line settings (a port that is not open is
    // opened again on the known name), and the station is searched again before the next
    // operation.
    bool ChangeSpeed(bool fast);

    serial::CSerialLink& link() { return link_; }
    plc::CPlcProgrammer& programmer() { return programmer_; }
    monitor::ConnectionCheck& connection() { return connection_; }
    common::Frontend& frontend() { return frontend_; }
    const std::string& portName() const { return portName_; }
    bool fast() const { return fast_; }

  private:
    common::Frontend& frontend_;
    serial::CSerialLink link_;
    plc::CPlcProgrammer programmer_;
    monitor::ConnectionCheck connection_;
    std::string portName_;
    bool fast_ = false;
};

}  // namespace quarnwin
