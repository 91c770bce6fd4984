#include "plc_tool/core/checked_download.h"

#include "plc/quarn_exception.h"
#include "plc/transfer/backup.h"
#include "plc/transfer/download.h"
#include "plc_tool/core/abort_texts.h"

namespace quarnwin {

namespace {

// Logs and shows the verdict; true when the PLC holds what was expected.
bool Judge(common::Frontend& frontend, const plc::TransferLog& log,
           const plc::VerifyReport& report) {
    if (report.ok()) {
        log.Append("Verify ok\n");
        frontend.setStatus(kVerifyOkText);
        return true;
    }
    std::string lines;
    for (const std::string& line : report.Lines()) lines += "\t" + line + "\n";
    log.Append(std::string(kVerifyFailedText) + "\n" + lines);
    frontend.reportError(kVerifyFailedText, true);
    return false;
}

Outcome VerifyWritten(QuarnSession& session, const plc::Download& download,
                      const plc::TransferLog& log, DownloadResults& results) {
    plc::ExpectedProject expected;
    for (const plc::Download::WrittenModule& module : download.written())
        expected.modules.push_back({module.header, module.code, true});
    expected.configuration = download.writtenConfiguration();
    session.frontend().setStatus("Verify PLC");
    try {
        const plc::PlcReadBack back = plc::ReadBack(session.programmer());
        results.verify = plc::CompareProject(expected, back);
    } catch (const plc::CQuarnException&) {
        session.frontend().reportError(kVerifyAbortedText, true);
        return Outcome::Failed;
    }
    return Judge(session.frontend(), log, *results.verify) ? Outcome::Done : Outcome::Failed;
}

}  // namespace

Outcome RunDownload(QuarnSession& session, const std::filesystem::path& projectFile,
                    const plc::TransferLog& log, const DownloadChoices& choices,
                    DownloadResults& results) {
    if (!session.connection().CheckConnection()) return Outcome::Refused;
    plc::Download download(session.programmer(), log);
    if (choices.dryRun) {
        try {
            plc::DownloadPlan plan;
            if (download.Rehearse(projectFile, plan) != plc::DownloadOutcome::kComplete) {
                results.unreadableFile = download.unreadableFile();
                return Outcome::Refused;
            }
            results.plan = std::move(plan);
            return Outcome::Done;
        } catch (const plc::CQuarnException&) {
            session.frontend().reportError(kDownloadAbortedText, true);
            return Outcome::Failed;
        }
    }
    if (!choices.backupParent.empty()) {
        download.SetBeforeChanges([&] {
            return plc::BackUpPlc(session.programmer(), log, choices.backupParent,
                                  plc::CurrentLocalTime, &results.backupFolder);
        });
    }
    try {
        switch (download.Run(projectFile)) {
            case plc::DownloadOutcome::kComplete:
                break;
            case plc::DownloadOutcome::kRefused:
                results.unreadableFile = download.unreadableFile();
                return Outcome::Refused;
            case plc::DownloadOutcome::kHeld:
                session.frontend().reportError(kDownloadAbortedText, true);
                return Outcome::Failed;
            case plc::DownloadOutcome::kStopped:
                return Outcome::Failed;
        }
    } catch (const plc::CQuarnException&) {
        session.frontend().reportError(kDownloadAbortedText, true);
        return Outcome::Failed;
    }
    if (!choices.verify) return Outcome::Done;
    return VerifyWritten(session, download, log, results);
}

Outcome RunVerify(QuarnSession& session, const std::filesystem::path& projectFile,
                  const plc::TransferLog& log, plc::VerifyReport& report, std::string* why) {
    if (!session.connection().CheckConnection()) return Outcome::Refused;
    common::Frontend& frontend = session.frontend();
    plc::BusyCursor busy(frontend);
    frontend.setStatus("Verify PLC");
    try {
        const plc::PlcReadBack back = plc::ReadBack(session.programmer());
        std::optional<plc::ExpectedProject> expected =
            plc::ExpectedFromFiles(projectFile, session.programmer(), why);
        if (!expected) return Outcome::Refused;
        report = plc::CompareProject(*expected, back);
    } catch (const plc::CQuarnException&) {
        frontend.reportError(kVerifyAbortedText, true);
        return Outcome::Failed;
    }
    return Judge(frontend, log, report) ? Outcome::Done : Outcome::Failed;
}

}  // namespace quarnwin
