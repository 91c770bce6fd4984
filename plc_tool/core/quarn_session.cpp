#include "plc_tool/core/quarn_session.h"

namespace quarnwin {

QuarnSession::QuarnSession(serial::SerialDevice& device, common::Clock& clock,
                           common::Frontend& frontend)
    : frontend_(frontend),
      link_(device, frontend, serial::Program::QuarnWin),
      programmer_(link_, clock, frontend),
      connection_(programmer_) {}

bool QuarnSession::Open(const std::string& portName, bool fast) {
    portName_ = portName;
    fast_ = fast;
    return link_.Open(portName, fast);
}

bool QuarnSession::ChangeSpeed(bool fast) {
    fast_ = fast;
    connection_.Forget();
    // The open port takes the new speed as it is; a device server keeps its connection.
    if (link_.IsOpen()) return link_.ChangeSpeed(fast);
    if (portName_.empty()) return false;
    return link_.Open(portName_, fast);
}

}  // namespace quarnwin
