#include "qt_shared/dialog_command_line.h"

#include <QSettings>
#include <algorithm>
#include <cctype>
#include <memory>

#include "cli/command_line.h"
#include "cli/serial_port.h"
#include "qt_shared/port_choice.h"

namespace qtshared {

namespace {

// The toolkit's options that take a value; Qt reads them from the application's arguments.
constexpr const char* kToolkitOptionsWithValue[] = {"-platform",
                                                    "-platformpluginpath",
                                                    "-platformtheme",
                                                    "-plugin",
                                                    "-qwindowgeometry",
                                                    "-qwindowtitle",
                                                    "-qwindowicon",
                                                    "-display",
                                                    "-geometry",
                                                    "-style",
                                                    "-stylesheet",
                                                    "-session",
                                                    "-name",
                                                    "-title",
                                                    "-visual"};
constexpr const char* kToolkitFlags[] = {"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};

constexpr const char* kPortHelp =
    "The port: a serial port (ttyUSB0, /dev/ttyUSB0, a simulated device's link), "
    "rfc2217://HOST:PORT or socket://HOST:PORT. Without it: the port chosen with \"Port…\" in "
    "the dialog's context menu, else the USB-serial converter";

// "-style=fusion" and "--style" are the toolkit's too.
std::string ToolkitName(const std::string& argument) {
    std::string name = argument.substr(0, argument.find('='));
    if (name.rfind("--", 0) == 0) name.erase(0, 1);
    return name;
}

bool OneOf(const std::string& name, const auto& list) {
    return std::any_of(std::begin(list), std::end(list),
                       [&](const char* known) { return name == known; });
}

// A switch's name without its leading "-", "--" or "/", in lower case: the automation
// switches are written either way and in any case ("-Embedding", "/Automation", "/RegServer").
std::string SwitchName(std::string argument) {
    while (!argument.empty() && (argument[0] == '-' || argument[0] == '/')) argument.erase(0, 1);
    std::transform(argument.begin(), argument.end(), argument.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return argument;
}

// The automation switches as the command line declares them; empty for any other argument.
std::string AutomationSwitch(const std::string& argument) {
    const std::string name = SwitchName(argument);
    if (name == "embedding" || name == "automation") return "--automation";
    if (name == "regserver") return "--regserver";
    if (name == "unregserver" || name == "unregister") return "--unregserver";
    return "";
}

// Where the settings live, in the platform's words: the registry key on Windows, where the
// settings object names "\HKEY_CURRENT_USER\Software\Hadrel\QuarnWin", else its file.
std::string SettingsPlace(const DialogProgram& program) {
    const QString place = QSettings(program.company, program.settingsName).fileName();
    const QString key = place.startsWith('\\') ? place.mid(1) : place;
    if (key.startsWith("HKEY_")) return key.toStdString() + "\\" + kSettingsGroup;
    return place.toStdString() + " (group " + kSettingsGroup + ")";
}

// The usage line names every option: "Usage: quarnwin [--help] [--version] [--port PORT]".
class DialogFormatter final : public CLI::Formatter {
  public:
    std::string make_usage(const CLI::App* app, std::string name) const override {
        std::string line = get_label("Usage") + ": " + name;
        for (const CLI::Option* option : app->get_options()) {
            if (option->get_group().empty()) continue;  // hidden
            std::string names = option->get_lnames().empty() ? "-" + option->get_snames().front()
                                                             : "--" + option->get_lnames().front();
            if (!option->get_type_name().empty()) names += " " + option->get_type_name();
            line += " [" + names + "]";
        }
        return line + "\n";
    }
};

std::unique_ptr<cli::CommandLine> Declare(const DialogProgram& program, std::string& port,
                                          DialogArguments& switches) {
    auto line = std::make_unique<cli::CommandLine>(program.command, program.description);
    CLI::App& app = line->app();
    app.formatter(std::make_shared<DialogFormatter>());
    app.add_option("--port", port, kPortHelp)->type_name("PORT");
    if (program.automation) {
        app.add_flag("--automation", switches.automation,
                     "Started by an automation client (also -Embedding, /Automation)");
        app.add_flag("--regserver", switches.registerServer,
                     "Register the automation server and end (also /RegServer)");
        app.add_flag("--unregserver", switches.unregisterServer,
                     "Remove the automation server's registration and end (also /UnregServer)");
    }
    std::string footer = "Settings are kept in " + SettingsPlace(program) + ".";
    if (!program.notes.empty()) footer += "\n" + program.notes;
    footer += "\nWithout a graphical desktop, use " + std::string(program.twin) + ".";
    app.footer(footer);
    return line;
}

}  // namespace

DialogArguments ParseDialogArguments(const DialogProgram& program,
                                     const std::vector<std::string>& arguments) {
    DialogArguments result;
    std::vector<std::string> own;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::string name = ToolkitName(argument);
        const bool joined = argument.find('=') != std::string::npos;
        if (OneOf(name, kToolkitOptionsWithValue)) {
            std::string value = joined ? argument.substr(argument.find('=') + 1)
                                       : (i + 1 < arguments.size() ? arguments[++i] : "");
            if (name == "-platform") result.platform = value;
        } else if (OneOf(name, kToolkitFlags)) {
            continue;
        } else if (program.automation && !AutomationSwitch(argument).empty()) {
            own.push_back(AutomationSwitch(argument));
        } else {
            own.push_back(argument);
        }
    }
    std::unique_ptr<cli::CommandLine> line = Declare(program, result.port, result);
    result.exitStatus = line->Parse(own, result.out, result.err);
    if (!result.exitStatus && result.port.empty() &&
        std::find_if(own.begin(), own.end(), [](const std::string& a) {
            return a == "--port" || a.rfind("--port=", 0) == 0;
        }) != own.end()) {
        result.err = std::string(program.command) + ": --port needs a value\n";
        result.exitStatus = cli::kExitUsage;
    }
    return result;
}

std::string DialogHelpText(const DialogProgram& program) {
    return ParseDialogArguments(program, {"--help"}).out;
}

}  // namespace qtshared
