#include "plc_tool/qt/command_line.h"

#include <cctype>

namespace quarnwin {

namespace {
// The framework's switches, with '-' or '/' and in any case: "-Embedding", "/Automation"...
std::string SwitchName(std::string option) {
    while (!option.empty() && (option[0] == '-' || option[0] == '/')) option.erase(0, 1);
    for (auto& c : option) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return option;
}
bool IsAutomationSwitch(const std::string& option) {
    const std::string name = SwitchName(option);
    return name == "embedding" || name == "automation";
}
bool IsRegisterSwitch(const std::string& option) {
    return SwitchName(option) == "regserver";
}
bool IsUnregisterSwitch(const std::string& option) {
    const std::string name = SwitchName(option);
    return name == "unregserver" || name == "unregister";
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
        } else if (IsRegisterSwitch(arg)) {
            line.registerServer = true;
        } else if (IsUnregisterSwitch(arg)) {
            line.unregisterServer = true;
        } else {
            line.error = "unknown argument '" + arg + "'";
            return line;
        }
    }
    return line;
}

const char* UsageText() {
    static const std::string text = std::string(
                                        "usage: quarnwin [--port PORT] [--version]\n\n"
                                        "Programs and monitors a Quarn PLC over a serial line.\n") +
                                    UsagePlatformText();
    return text.c_str();
}

const char* VersionText() {
    return "quarnwin " SUITE_VERSION "\n";  // the suite's version, given by the build
}

}  // namespace quarnwin
