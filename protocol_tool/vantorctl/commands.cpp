#include "protocol_tool/vantorctl/commands.h"

#include <cstdio>

#include "cli/console_frontend.h"
#include "cli/serial_port.h"
#include "common/clock.h"
#include "common/utf8_path.h"
#include "protocol_tool/core/convert_to_xls.h"
#include "protocol_tool/core/derived_path.h"
#include "protocol_tool/core/protocol_reader.h"

namespace vantorctl {

namespace {

using protocol::RetrievalResult;

// A clear command has no answer. Its write returns only when the bytes have left the port,
// so the port can be closed (and its previous settings put back) right after it.
int ClearExit(protocol::ClearResult result) {
    return result == protocol::ClearResult::Sent ? cli::kExitOk : cli::kExitFailed;
}

void Explain(const char* format, const std::string& path) {
    std::fprintf(stderr, format, path.c_str());
    std::fputc('\n', stderr);
}

int RetrievalExit(RetrievalResult result, const std::string& file) {
    switch (result) {
        case RetrievalResult::Done:
            return cli::kExitOk;
        case RetrievalResult::FileNotWritable:
            Explain("Cannot write %s (check the folder and the file's permissions)", file);
            return cli::kExitFailed;
        case RetrievalResult::NoData:
        case RetrievalResult::DeviceGone:
        case RetrievalResult::Endless:
        case RetrievalResult::Cancelled:
        case RetrievalResult::WriteFailed:
            // Said already, on the status line ("No data") or in a message.
            break;
    }
    return cli::kExitFailed;
}

int TranslateExit(protocol::TranslateResult result, const std::string& file) {
    if (result == protocol::TranslateResult::ProtocolUnreadable) {
        Explain("Cannot read %s", file);
    }
    return result == protocol::TranslateResult::Written ? cli::kExitOk : cli::kExitFailed;
}

int Convert(const Options& o, cli::ConsoleFrontend& frontend) {
    protocol::StatusLine status(frontend);
    const protocol::ConvertOutcome outcome =
        protocol::ConvertToXls(common::PathFromUtf8(o.file), o.cyrillic, status, frontend);
    switch (outcome.spreadsheet) {
        case protocol::ConvertResult::ProtocolUnreadable:
            Explain("Cannot read %s", o.file);
            return cli::kExitFailed;
        case protocol::ConvertResult::SpreadsheetNotCreated:
            Explain("Cannot create %s",
                    common::Utf8FromPath(protocol::DerivedPath(common::PathFromUtf8(o.file),
                                                               protocol::kSpreadsheetExtension)));
            break;
        case protocol::ConvertResult::WriteFailed:
            return cli::kExitFailed;
        case protocol::ConvertResult::Converted:
            break;
    }
    int exit =
        outcome.spreadsheet == protocol::ConvertResult::Converted ? cli::kExitOk : cli::kExitFailed;
    if (outcome.rtf && TranslateExit(*outcome.rtf, o.file) != cli::kExitOk) exit = cli::kExitFailed;
    return exit;
}

int WithDisplay(const Options& o, cli::ConsoleFrontend& frontend) {
    common::RealClock clock;
    cli::PortStack stack(clock, o.trace);
    protocol::CProtocolReader reader(stack.device(), frontend);
    const std::string port = cli::ChoosePort(o.port, frontend);
    if (port.empty()) return cli::kExitFailed;
    if (!cli::OpenOrExplain(reader.Link(), port)) return cli::kExitFailed;

    switch (o.command) {
        case Command::GetProtocol: {
            protocol::ProtocolChoice choice;
            choice.mode = o.newEntries ? protocol::kModeNewEntries : protocol::kModeUpTo;
            choice.cnt = o.upTo.value_or(reader.Cnt());
            auto fromCommandLine = [choice](const protocol::ProtocolChoice&) {
                return std::optional<protocol::ProtocolChoice>(choice);
            };
            return RetrievalExit(
                reader.GetProtocol(common::PathFromUtf8(o.file), o.cyrillic, fromCommandLine),
                o.file);
        }
        case Command::GetStatistics:
            return RetrievalExit(reader.GetStatistics(common::PathFromUtf8(o.file)), o.file);
        case Command::ClearProtocol:
            return ClearExit(reader.ClearProtocol());
        case Command::ClearStatistics:
            return ClearExit(reader.ClearStatistics());
        default:
            break;
    }
    return cli::kExitUsage;
}

}  // namespace

int RunCommand(const Options& o) {
    if (o.help) {
        std::fputs(HelpText(o.command).c_str(), stdout);
        return cli::kExitOk;
    }
    if (o.command == Command::Ports) {
        cli::PrintPorts();
        return cli::kExitOk;
    }
    cli::ConsoleFrontend frontend(o.yes);
    if (o.command == Command::Convert) return Convert(o, frontend);
    return WithDisplay(o, frontend);
}

}  // namespace vantorctl
