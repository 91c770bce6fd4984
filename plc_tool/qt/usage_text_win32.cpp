#include "plc_tool/qt/command_line.h"

namespace quarnwin {

const char* UsagePlatformText() {
    return "  --port PORT   the serial port to use (com5); without it the USB-serial\n"
           "                converter is looked for and the program ends when there is none\n"
           "  /Automation   started by an automation client (also -Embedding)\n"
           "  /RegServer    register QuarnWin.Application for automation and end\n"
           "  /UnregServer  remove that registration and end\n"
           "  --version     show the program's version and end\n"
           "Settings are kept in the registry under\n"
           "HKEY_CURRENT_USER\\Software\\Hadrel\\QuarnWin\\Einstellungen. The transfer log\n"
           "log.txt lives beside QuarnWin.exe when that folder may be written, else in\n"
           "%LOCALAPPDATA%\\Hadrel\\QuarnWin, shared with quarnctl.\n";
}

}  // namespace quarnwin
