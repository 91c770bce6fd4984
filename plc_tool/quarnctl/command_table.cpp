// The commands of quarnctl. Each lives in its own source file; add a line here.
#include "plc_tool/quarnctl/context.h"
#include "plc_tool/quarnctl/control_commands.h"

namespace quarnctl {

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"ports", "", "List the serial ports with their descriptions; * marks the converter "
                      "that is used when --port is not given.",
         PortsCommand},
        {"identify", "", "Search the PLC's station address and print it with the firmware "
                         "version.",
         IdentifyCommand},
        {"reset", "", "Reset the PLC.", ResetCommand},
        {"init-eeprom", "", "Initialise the PLC's EEPROM (asks \"Are you sure ?\"; about 60 "
                            "seconds).",
         InitEepromCommand},
    };
    return commands;
}

}  // namespace quarnctl
