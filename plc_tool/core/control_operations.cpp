#include "plc_tool/core/control_operations.h"

#include "plc/quarn_exception.h"
#include "plc_tool/core/abort_texts.h"

namespace quarnwin {

Outcome RunConnectionCheck(QuarnSession& session) {
    return session.connection().CheckConnection() ? Outcome::Done : Outcome::Refused;
}

Outcome RunReset(QuarnSession& session) {
    if (!session.connection().CheckConnection()) return Outcome::Refused;
    try {
        session.programmer().Reset();
    } catch (const plc::CQuarnException&) {
        session.frontend().reportError(kCommunicationErrorText, true);
        return Outcome::Failed;
    }
    return Outcome::Done;
}

Outcome RunInitEeprom(QuarnSession& session) {
    if (!session.frontend().ask("Are you sure ?")) return Outcome::Refused;
    if (!session.connection().CheckConnection()) return Outcome::Refused;
    try {
        session.programmer().InitEeprom();
    } catch (const plc::CQuarnException&) {
        session.frontend().reportError(kCommunicationErrorText, true);
        return Outcome::Failed;
    }
    return Outcome::Done;
}

}  // namespace quarnwin
