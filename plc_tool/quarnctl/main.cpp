// quarnctl: the PLC tool without a window.
#include <string>

#include "cli/command_line.h"
#include "cli/interrupt.h"
#include "cli/port_option.h"
#include "plc_tool/quarnctl/context.h"

namespace {

// The options every command shares.
void DeclareGlobalOptions(CLI::App& app, quarnctl::GlobalOptions& options) {
    cli::AddPortOption(app, options.port);
    app.add_option_function<std::string>(
           "--baud", [&options](const std::string& baud) { options.fast = baud == "19200"; },
           "9600 (default) or 19200; 8 data bits, even parity, 1 stop bit")
        ->check(cli::OneOf({"9600", "19200"}))
        ->type_name("B");
    app.add_flag("--yes", options.yes, "Answer every question with Yes");
    app.add_flag("--trace", options.trace, "Print every byte written and read, in hex, on stderr");
    app.add_option("--log", options.logPath,
                   "Transfer log (default: log.txt beside the program; installed under a "
                   "prefix such as /usr: ~/.local/share/Hadrel/QuarnWin/log.txt)")
        ->type_name("FILE");
    cli::AddNumber(app, "--station", options.station, 0, 255, "takes the PLC's address, 0 to 255",
                   "The PLC's station address: no search (which costs 2.1 s for every silent "
                   "address)")
        ->type_name("N");
    // For tests: another root for port discovery.
    app.add_option("--sysfs", options.sysfsRoot)->group("");
}

}  // namespace

int main(int argc, char** argv) {
    cli::InstallInterruptHandling();
    cli::CommandLine line("quarnctl", "The PLC's service tool on the serial line.");
    line.app().footer(
        "'quarnctl COMMAND --help' describes a command.\n"
        "Exit status: 0 done, 1 failed or refused, 2 wrong usage, 130 or 143 stopped by\n"
        "Ctrl-C (SIGINT) or SIGTERM.");
    quarnctl::GlobalOptions options;
    DeclareGlobalOptions(line.app(), options);

    quarnctl::CommandArguments args;
    const quarnctl::Command* chosen = nullptr;
    for (const quarnctl::Command& command : quarnctl::Commands()) {
        CLI::App* sub = line.AddCommand(command.name, command.description);
        sub->footer(command.help);
        if (command.declare) command.declare(*sub, args);
        sub->callback([&chosen, &command]() { chosen = &command; });
    }
    if (std::optional<int> status = line.Parse(argc, argv)) return *status;

    quarnctl::Context context(options);
    return cli::ExitStatusAfterStop(chosen->run(context, args));
}
