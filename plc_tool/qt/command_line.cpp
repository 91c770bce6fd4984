#include "plc_tool/qt/command_line.h"

namespace quarnwin {

namespace {
bool IsAutomationSwitch(std::string option) {
    while (!option.empty() && (option[0] == '-' || option[0] == '/')) option.erase(0, 1);
    for (auto& c : option) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return option == "embedding" || option == "automation";
}
}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--version") {
            line.version = true;
        } else if (arg == "--port") {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                line.error = "--port needs a path";
                return line;
            }
            line.port = arguments[++i];
        } else if (arg.rfind("--port=", 0) == 0) {
            line.port = arg.substr(7);
            if (line.port.empty()) {
                line.error = "--port needs a path";
                return line;
            }
        } else if (IsAutomationSwitch(arg)) {
            line.automation = true;
        } else {
            line.error = "unknown argument '" + arg + "'";
            return line;
        }
    }
    return line;
}

const char* UsageText() {
    return "usage: quarnwin [--port PATH] [--version]\n\n"
           "Programs and monitors a Quarn PLC over a serial line.\n"
           "  --port PATH   the serial port to use (ttyS0, /dev/ttyUSB0, or the link of a\n"
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

const char* VersionText() {
    return "quarnwin " SUITE_VERSION "\n";  // the suite's version, given by the build
}

}  // namespace quarnwin
