#include "plc_tool/quarnctl/control_commands.h"

#include <cstdio>

namespace quarnctl {

namespace {
bool NoArguments(const char* name, const std::vector<std::string>& args) {
    if (args.empty()) return true;
    std::fprintf(stderr, "quarnctl %s: unexpected argument '%s'\n", name, args[0].c_str());
    return false;
}
}  // namespace

int PortsCommand(Context& context, const std::vector<std::string>& args) {
    if (!NoArguments("ports", args)) return cli::kExitUsage;
    cli::PrintPorts(context.options().sysfsRoot);
    return cli::kExitOk;
}

int IdentifyCommand(Context& context, const std::vector<std::string>& args) {
    if (!NoArguments("identify", args)) return cli::kExitUsage;
    if (!context.Connect()) return cli::kExitFailed;
    quarnwin::Outcome outcome = quarnwin::RunConnectionCheck(context.session());
    if (outcome == quarnwin::Outcome::Done) {
        const plc::PlcState& state = context.session().programmer().state();
        std::printf("Station address: %d\nFirmware: %d.%d\n", state.stationAddress,
                    state.firmwareMajor, state.firmwareMinor);
    }
    return ExitStatus(outcome);
}

int ResetCommand(Context& context, const std::vector<std::string>& args) {
    if (!NoArguments("reset", args)) return cli::kExitUsage;
    if (!context.Connect()) return cli::kExitFailed;
    return ExitStatus(quarnwin::RunReset(context.session()));
}

int InitEepromCommand(Context& context, const std::vector<std::string>& args) {
    if (!NoArguments("init-eeprom", args)) return cli::kExitUsage;
    if (!context.Connect()) return cli::kExitFailed;
    return ExitStatus(quarnwin::RunInitEeprom(context.session()));
}

}  // namespace quarnctl
