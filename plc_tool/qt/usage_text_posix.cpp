#include "plc_tool/qt/command_line.h"

namespace quarnwin {

const char* UsagePlatformText() {
    return "  --port PORT   the serial port to use (ttyS0, /dev/ttyUSB0, or the link of a\n"
           "                simulated PLC); without it the USB-serial converter is looked for\n"
           "                and the program ends when there is none\n"
           "  --automation  started by an automation client over the D-Bus session bus\n"
           "                (also -Embedding, -Automation)\n"
           "  --version     print the program's version and end\n"
           "Settings are kept in the per-user settings of Hadrel/QuarnWin\n"
           "(~/.config/Hadrel/QuarnWin.conf). The transfer log log.txt lives beside the\n"
           "program when it runs from a build or a folder of its own; installed under a\n"
           "prefix such as /usr it lives in the per-user data folder\n"
           "(~/.local/share/Hadrel/QuarnWin/log.txt), shared with quarnctl.\n";
}

}  // namespace quarnwin
