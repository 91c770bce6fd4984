#include "plc_tool/core/show_variables.h"

#include "plc/quarn_exception.h"
#include "plc_tool/core/abort_texts.h"

namespace quarnwin {

Outcome RunShowVariables(QuarnSession& session, const std::filesystem::path& symbolFile,
                         monitor::VariableViewer& viewer, int startIndex) {
    if (!session.connection().CheckConnection()) return Outcome::Refused;
    plc::BusyCursor busy(session.frontend());
    monitor::VariableDisplay display(session.programmer());
    display.SetStartIndex(startIndex);
    try {
        if (display.RunVariableDisplay(symbolFile, viewer) ==
            monitor::DisplayOutcome::kTypeNotFound)
            return Outcome::Refused;
    } catch (const plc::CQuarnException&) {
        session.frontend().reportError(kShowVariablesAbortedText, true);
        return Outcome::Failed;
    }
    return Outcome::Done;
}

}  // namespace quarnwin
