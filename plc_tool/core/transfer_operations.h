#pragma once
// The transfers as the dialog runs them once the project file or the target folder is
// chosen: connection check (nothing is sent when the station is already known), the
// transfer, and the abort text in red when the PLC stops answering.
#include <filesystem>

#include "plc/files/transfer_log.h"
#include "plc_tool/core/control_operations.h"
#include "plc_tool/core/quarn_session.h"

namespace quarnwin {

// "PC -> Quarn". Done when every entry went through; Refused when no PLC answered or the
// project failed a check on the PC (the PLC untouched); Failed when a module failed in the
// PLC, or the PLC stopped answering ("PC->Quarn download aborted, please restart download").
Outcome RunDownload(QuarnSession& session, const std::filesystem::path& projectFile,
                    const plc::TransferLog& log);

// "Quarn -> PC" into an existing folder. Done when complete; Refused when no PLC answered or
// the technician would not overwrite a file; Failed when a file could not be written, or the
// PLC stopped answering ("Quarn->PC upload aborted, please restart upload").
Outcome RunUpload(QuarnSession& session, const std::filesystem::path& folder,
                  const plc::TransferLog& log);

}  // namespace quarnwin
