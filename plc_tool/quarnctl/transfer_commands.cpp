#include "plc_tool/quarnctl/transfer_commands.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/utf8_path.h"
#include "plc/files/transfer_log.h"
#include "plc/module_header.h"
#include "plc/quarn_exception.h"
#include "plc/transfer/plc_directory.h"
#include "plc_tool/core/abort_texts.h"
#include "plc_tool/core/checked_download.h"
#include "plc_tool/core/log_location.h"
#include "plc_tool/core/transfer_operations.h"

namespace quarnctl {

namespace fs = std::filesystem;

namespace {

plc::TransferLog LogFor(const Context& context) {
    const std::string& option = context.options().logPath;
    const fs::path file =
        option.empty() ? quarnwin::DefaultLogFile() : common::PathFromUtf8(option);
    // The Qt program empties its log at start; a file named with --log is created here.
    // A folder that can't be looked into counts as no file; the log never stops a transfer.
    std::error_code ec;
    if (!file.empty() && !fs::exists(file, ec)) plc::AppendLog(file, "");
    return plc::TransferLog(file);
}

// Connects and runs the connection check; false when there is no PLC to talk to.
bool Reach(Context& context) {
    if (!context.Connect()) return false;
    return quarnwin::RunConnectionCheck(context.session()) == quarnwin::Outcome::Done;
}

void PrintModuleTable(const plc::PlcState& state) {
    if (!state.titleText.empty()) std::printf("Project: %s\n", state.titleText.c_str());
    std::printf("Modules: %zu\n", state.modules.size());
    if (state.modules.empty()) return;
    std::printf("Nr  Name      Kind  Length  Page  Firmware  Date\n");
    for (const plc::ModuleEntry& entry : state.modules) {
        const auto& b = entry.bytes;
        const unsigned length = entry.codeLength() >= 2 ? entry.codeLength() - 2u : 0u;
        std::printf(
            "%2d  %-8s  %4d  %6u  %4d  %d.%-6d  %02d-%02d-%02d %02d:%02d%s\n", entry.number(),
            entry.name().c_str(), entry.kind(), length, entry.startPage(),
            b[plc::header::kFirmwareMajor] & 0x7F, b[plc::header::kFirmwareMinor],
            b[plc::header::kYear], b[plc::header::kMonth], b[plc::header::kDay],
            b[plc::header::kHour], b[plc::header::kMinute],
            (b[plc::header::kFirmwareMajor] & plc::header::kDamagedMark) ? "  damaged" : "");
    }
}

void PrintDifferences(const plc::VerifyReport& report) {
    for (const std::string& line : report.Lines()) std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace

int DirectoryCommand(Context& context, const CommandArguments&) {
    if (!Reach(context)) return cli::kExitFailed;
    try {
        plc::ReadPlcDirectory(context.session().programmer());
    } catch (const plc::CQuarnException&) {
        context.frontend().reportError(quarnwin::kCommunicationErrorText, true);
        return cli::kExitFailed;
    }
    PrintModuleTable(context.session().programmer().state());
    return cli::kExitOk;
}

int DownloadCommand(Context& context, const CommandArguments& args) {
    if (!Reach(context)) return cli::kExitFailed;
    quarnwin::DownloadChoices choices;
    choices.dryRun = args.dryRun;
    choices.backupParent = common::PathFromUtf8(args.backupFolder);
    choices.verify = args.verify;
    quarnwin::DownloadResults results;
    const quarnwin::Outcome outcome = quarnwin::RunDownload(
        context.session(), common::PathFromUtf8(args.path), LogFor(context), choices, results);
    if (results.plan)
        std::fputs(
            plc::FormatDownloadPlan(*results.plan, context.options().fast ? 19200 : 9600).c_str(),
            stdout);
    if (!results.backupFolder.empty())
        std::printf("Backup: %s\n", common::Utf8FromPath(results.backupFolder).c_str());
    if (results.verify) PrintDifferences(*results.verify);
    if (!results.unreadableFile.empty())
        std::fprintf(stderr, "%s\n", results.unreadableFile.c_str());
    return ExitStatus(outcome);
}

int VerifyCommand(Context& context, const CommandArguments& args) {
    if (!Reach(context)) return cli::kExitFailed;
    plc::VerifyReport report;
    std::string unreadable;
    const quarnwin::Outcome outcome = quarnwin::RunVerify(
        context.session(), common::PathFromUtf8(args.path), LogFor(context), report, &unreadable);
    PrintDifferences(report);
    if (!unreadable.empty()) std::fprintf(stderr, "%s\n", unreadable.c_str());
    return ExitStatus(outcome);
}

int UploadCommand(Context& context, const CommandArguments& args) {
    const fs::path folder = common::PathFromUtf8(args.path);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) {
        std::fprintf(stderr, "quarnctl upload: cannot create the folder %s\n", args.path.c_str());
        return cli::kExitFailed;
    }
    if (!Reach(context)) return cli::kExitFailed;
    return ExitStatus(quarnwin::RunUpload(context.session(), folder, LogFor(context)));
}

}  // namespace quarnctl
