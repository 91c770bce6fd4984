#include "plc_tool/quarnctl/control_commands.h"

#include <cstdio>

namespace quarnctl {

int PortsCommand(Context& context, const CommandArguments&) {
    cli::PrintPorts(context.options().sysfsRoot);
    return cli::kExitOk;
}

int IdentifyCommand(Context& context, const CommandArguments&) {
    if (!context.Connect()) return cli::kExitFailed;
    quarnwin::Outcome outcome = quarnwin::RunConnectionCheck(context.session());
    if (outcome == quarnwin::Outcome::Done) {
        const plc::PlcState& state = context.session().programmer().state();
        std::printf("Station address: %d\nFirmware: %d.%d\n", state.stationAddress,
                    state.firmwareMajor, state.firmwareMinor);
    }
    return ExitStatus(outcome);
}

int ResetCommand(Context& context, const CommandArguments&) {
    if (!context.Connect()) return cli::kExitFailed;
    return ExitStatus(quarnwin::RunReset(context.session()));
}

int InitEepromCommand(Context& context, const CommandArguments&) {
    if (!context.Connect()) return cli::kExitFailed;
    return ExitStatus(quarnwin::RunInitEeprom(context.session()));
}

}  // namespace quarnctl
