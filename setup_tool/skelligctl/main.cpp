// skelligctl: the text display setup transfer without a window.
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/console_frontend.h"
#include "cli/interrupt.h"
#include "cli/serial_port.h"
#include "common/clock.h"
#include "common/utf8_path.h"
#include "setup_tool/core/setup_sender.h"
#include "setup_tool/core/text_pages.h"
#include "setup_tool/skelligctl/console_time_date.h"
#include "setup_tool/skelligctl/options.h"

namespace {

setup::LocalTime PcLocalTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

int Send(const skelligctl::Options& options) {
    std::string error;
    if (!skelligctl::ClockChoiceIsValid(options.clock, PcLocalTime(), error)) {
        std::fprintf(stderr, "skelligctl: %s\n", error.c_str());
        return cli::kExitUsage;
    }
    common::RealClock clock;
    cli::ConsoleFrontend frontend(false);
    const std::string port = cli::ChoosePort(options.port, frontend, options.sysfsRoot);
    if (port.empty()) return cli::kExitFailed;
    cli::PortStack ports(clock, options.trace);
    skelligctl::ConsoleTimeDate timeDate(
        options.clock, [&frontend](const std::string& line) { frontend.printLine(line); });
    setup::CSetupSender sender(ports.device(), frontend, timeDate, PcLocalTime);
    if (!cli::OpenOrExplain(sender.Link(), port)) return cli::kExitFailed;
    const setup::SendOutcome outcome =
        sender.SendSetup(setup::SetupPathForTextFile(common::PathFromUtf8(options.textFile)));
    return outcome == setup::SendOutcome::Done ? cli::kExitOk : cli::kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
    cli::InstallInterruptHandling();
    std::string error;
    auto options = skelligctl::ParseOptions(cli::Utf8Arguments(argc, argv), error);
    if (!options) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return cli::kExitUsage;
    }
    switch (options->command) {
        case skelligctl::Command::Help:
            std::fputs(options->printed.c_str(), stdout);
            return cli::kExitOk;
        case skelligctl::Command::Ports:
            cli::PrintPorts(options->sysfsRoot);
            return cli::kExitOk;
        case skelligctl::Command::Send:
            return cli::ExitStatusAfterStop(Send(*options));
    }
    return cli::kExitUsage;
}
