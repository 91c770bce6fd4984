#include "protocol_tool/vantorctl/options.h"

#include "cli/command_line.h"
#include "cli/port_option.h"
#include "cli/serial_port.h"
#include "protocol_tool/core/protocol_commands.h"

namespace vantorctl {

namespace {

constexpr const char* kTool = "vantorctl";

struct CommandText {
    const char* name;
    Command command;
    const char* description;  // one line
    const char* help;         // the paragraph of the command's own --help
};

constexpr CommandText kCommands[] = {
    {"get-protocol", Command::GetProtocol, "Fetch the display's protocol into FILE.pro",
     "Fetches the display's protocol into FILE.pro: up to entry N (1 to 9999) or the new "
     "entries. --cyrillic also writes the Cyrillic RTF document FILE.rtf. Exit status 1 when "
     "no line arrived (\"No data\")."},
    {"get-statistics", Command::GetStatistics, "Fetch the display's statistics into FILE.sta",
     "Fetches the display's statistics into FILE.sta. Exit status 1 when no line arrived."},
    {"clear-protocol", Command::ClearProtocol, "Clear the display's protocol",
     "Clears the display's protocol after the question \"Are you sure?\" (answered by --yes, "
     "at the terminal, or No without a terminal)."},
    {"clear-statistics", Command::ClearStatistics, "Clear the display's statistics",
     "Clears the display's statistics after the question \"Are you sure?\" (answered by "
     "--yes, at the terminal, or No without a terminal)."},
    {"convert", Command::Convert, "Write a protocol file as spreadsheet text (and RTF)",
     "Writes the protocol as tab-separated spreadsheet text FILE.xls, and with --cyrillic "
     "also the Cyrillic RTF document FILE.rtf. Needs no port."},
    {"ports", Command::Ports, "List the serial ports",
     "Lists the serial ports; the one port discovery chooses is marked with *."},
};

// The whole command line, declared into o; upTo holds --up-to until the parse is done.
struct Declared {
    cli::CommandLine line{kTool, "The text display's protocol and statistics."};
    int upTo = 0;
    CLI::Option* upToOption = nullptr;
};

void Declare(Declared& d, Options& o) {
    CLI::App& app = d.line.app();
    app.footer(
        "'vantorctl COMMAND --help' describes a command.\n"
        "Status texts go to standard output, messages and errors to standard error.\n"
        "Exit status: 0 done, 1 failed or refused, 2 wrong usage, 130 or 143 stopped by\n"
        "Ctrl-C (SIGINT) or SIGTERM.");
    cli::AddPortOption(app, o.port);
    app.add_flag("--trace", o.trace,
                 "Every byte written and read, in hex with a time stamp, on stderr");
    app.add_flag("-y,--yes", o.yes, "Answer Yes to the clear commands' question");
    for (const CommandText& c : kCommands) {
        CLI::App* sub = d.line.AddCommand(c.name, c.description);
        sub->footer(c.help);
        const Command command = c.command;
        sub->callback([&o, command] { o.command = command; });
        switch (command) {
            case Command::GetProtocol:
                sub->add_option("FILE.pro", o.file, "The protocol file to write")->required();
                d.upToOption =
                    cli::AddNumber(*sub, "--up-to", d.upTo, protocol::kMinCnt, protocol::kMaxCnt,
                                   "the entry number must be an integer from 1 to 9999",
                                   "The protocol up to entry N (1 to 9999)");
                sub->add_flag("--new", o.newEntries, "The new protocol entries");
                sub->add_flag("--cyrillic", o.cyrillic, "Also write the Cyrillic RTF document");
                break;
            case Command::GetStatistics:
                sub->add_option("FILE.sta", o.file, "The statistics file to write")->required();
                break;
            case Command::Convert:
                sub->add_option("FILE.pro", o.file, "The protocol file to convert")->required();
                sub->add_flag("--cyrillic", o.cyrillic, "Also write the Cyrillic RTF document");
                break;
            default:
                break;
        }
    }
}

}  // namespace

ParseResult ParseOptions(const std::vector<std::string>& args) {
    Options o;
    Declared d;
    Declare(d, o);
    std::string out, err;
    if (std::optional<int> status = d.line.Parse(args, out, err)) {
        if (*status != cli::kExitOk)
            return ParseResult{std::nullopt, err.substr(0, err.find_last_not_of('\n') + 1)};
        o.help = true;
        o.printed = out;
        return ParseResult{o, {}};
    }
    if (d.upToOption && d.upToOption->count() > 0) o.upTo = d.upTo;
    if (o.command == Command::GetProtocol && o.upTo.has_value() == o.newEntries)
        return ParseResult{std::nullopt,
                           std::string(kTool) + " get-protocol: needs either --up-to N or --new"};
    return ParseResult{o, {}};
}

std::string HelpText(Command command) {
    std::vector<std::string> args{"--help"};
    for (const CommandText& c : kCommands)
        if (c.command == command) args.insert(args.begin(), c.name);
    Options o;
    Declared d;
    Declare(d, o);
    std::string out, err;
    d.line.Parse(args, out, err);
    return out;
}

}  // namespace vantorctl
