#pragma once
// The "Show variables" operation as the dialog and quarnctl run it, once the symbol file is
// chosen and the viewer is open: connection check, wait cursor, the display loop until the
// viewer closes, and the abort text when the PLC stops answering.
#include <filesystem>
#include <string>

#include "monitor/variable_display.h"
#include "plc_tool/core/control_operations.h"
#include "plc_tool/core/quarn_session.h"

namespace quarnwin {

// Refused when no PLC answered the station search, or the symbol file named an unknown type
// ("Typ not found" was shown). Failed when the PLC stopped answering: "Show variables
// aborted, please restart" in red with the sound. Done when the viewer was closed.
// startIndex is the first page's TopIndex (0 in the dialog).
Outcome RunShowVariables(QuarnSession& session, const std::filesystem::path& symbolFile,
                         monitor::VariableViewer& viewer, int startIndex = 0);

}  // namespace quarnwin
