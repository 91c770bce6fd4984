#pragma once
// The download with what a technician needs to trust it, shared by the dialog and
// quarnctl: a dry run that stops before the first change with the plan, a backup of the
// whole PLC before the first change, and a verify that reads everything back after the
// PLC was started. None of them changes what the download itself sends.
#include <filesystem>
#include <optional>
#include <string>

#include "plc/files/transfer_log.h"
#include "plc/transfer/download_plan.h"
#include "plc/transfer/verify.h"
#include "plc_tool/core/control_operations.h"
#include "plc_tool/core/quarn_session.h"

namespace quarnwin {

struct DownloadChoices {
    bool dryRun = false;
    std::filesystem::path backupParent;  // empty: no backup
    bool verify = false;
};

struct DownloadResults {
    std::optional<plc::DownloadPlan> plan;    // a dry run that would go ahead
    std::filesystem::path backupFolder;       // the backup made
    std::optional<plc::VerifyReport> verify;  // the verify made
    // Why a module file the download refused with result 1 could not be opened (missing,
    // no permission, ...); the command-line tool shows it below the message.
    std::string unreadableFile;
};

// The download with the choices. Dry run: Done when the download would go ahead (the plan
// in results), Refused when it would be refused. A backup that fails ends it before any
// change with "PC->Quarn download aborted, please restart download": Failed. A verify with
// differences: "Verify failed" in red, Failed.
Outcome RunDownload(QuarnSession& session, const std::filesystem::path& projectFile,
                    const plc::TransferLog& log, const DownloadChoices& choices,
                    DownloadResults& results);

// Compares the PLC with the project without downloading: Done when the PLC holds exactly
// the project, Failed when it does not ("Verify failed") or stopped answering ("Verify
// aborted, please restart verify"), Refused when no PLC answered or a file can't be read
// (*why then says why a module file could not be opened, as in DownloadResults).
Outcome RunVerify(QuarnSession& session, const std::filesystem::path& projectFile,
                  const plc::TransferLog& log, plc::VerifyReport& report,
                  std::string* why = nullptr);

}  // namespace quarnwin
