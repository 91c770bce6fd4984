#include "plc_tool/core/transfer_operations.h"

#include "plc/quarn_exception.h"
#include "plc/transfer/upload.h"
#include "plc_tool/core/abort_texts.h"
#include "plc_tool/core/checked_download.h"

namespace quarnwin {

Outcome RunDownload(QuarnSession& session, const std::filesystem::path& projectFile,
                    const plc::TransferLog& log) {
    DownloadResults results;
    return RunDownload(session, projectFile, log, DownloadChoices{}, results);
}

Outcome RunUpload(QuarnSession& session, const std::filesystem::path& folder,
                  const plc::TransferLog& log) {
    if (!session.connection().CheckConnection()) return Outcome::Refused;
    try {
        switch (plc::Upload(session.programmer(), log).Run(folder)) {
            case plc::UploadOutcome::kComplete:
                return Outcome::Done;
            case plc::UploadOutcome::kAborted:
                return Outcome::Refused;
            case plc::UploadOutcome::kFileError:
                return Outcome::Failed;
        }
    } catch (const plc::CQuarnException&) {
        session.frontend().reportError(kUploadAbortedText, true);
    }
    return Outcome::Failed;
}

}  // namespace quarnwin
