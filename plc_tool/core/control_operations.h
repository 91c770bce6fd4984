#pragma once
// The operations behind the "Control SPS" buttons, as the dialog and quarnctl run them:
// connection check first, the command, and the abort text when the PLC fails to answer.
#include "plc_tool/core/quarn_session.h"

namespace quarnwin {

enum class Outcome {
    Done,     // the operation completed
    Refused,  // not started: no PLC found, or the user said No
    Failed,   // started and aborted (the abort text is in the status line)
};

// Connection check, then Reset; "Communication error" in red when it fails.
Outcome RunReset(QuarnSession& session);
// "Are you sure ?" first, then the connection check and the EEPROM initialisation.
Outcome RunInitEeprom(QuarnSession& session);
// The connection check alone (the station search when not yet connected).
Outcome RunConnectionCheck(QuarnSession& session);

}  // namespace quarnwin
