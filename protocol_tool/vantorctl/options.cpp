#include "protocol_tool/vantorctl/options.h"

#include <charconv>

#include "protocol_tool/core/protocol_commands.h"

namespace vantorctl {

namespace {

struct CommandName {
    const char* name;
    Command command;
};
constexpr CommandName kCommands[] = {
    {"ports", Command::Ports},
    {"get-protocol", Command::GetProtocol},
    {"get-statistics", Command::GetStatistics},
    {"clear-protocol", Command::ClearProtocol},
    {"clear-statistics", Command::ClearStatistics},
    {"convert", Command::Convert},
};

std::optional<Command> CommandNamed(const std::string& name) {
    for (const auto& c : kCommands)
        if (name == c.name) return c.command;
    return std::nullopt;
}

bool TakesFile(Command command) {
    return command == Command::GetProtocol || command == Command::GetStatistics ||
           command == Command::Convert;
}

std::optional<int> ParseEntryNumber(const std::string& text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (value < protocol::kMinCnt || value > protocol::kMaxCnt) return std::nullopt;
    return value;
}

ParseResult Fail(std::string error) {
    return ParseResult{std::nullopt, std::move(error)};
}

// The checks that need the whole command line.
std::string CheckComplete(const Options& o) {
    if (o.help) return {};
    if (o.command == Command::None) return "no command given";
    if (TakesFile(o.command) && o.file.empty()) return "the command needs a file name";
    if (o.command == Command::GetProtocol && o.upTo.has_value() == o.newEntries)
        return "get-protocol needs either --up-to N or --new";
    if ((o.upTo || o.newEntries) && o.command != Command::GetProtocol)
        return "--up-to and --new belong to get-protocol";
    if (o.cyrillic && o.command != Command::GetProtocol && o.command != Command::Convert)
        return "--cyrillic belongs to get-protocol and convert";
    return {};
}

}  // namespace

ParseResult ParseOptions(const std::vector<std::string>& args) {
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) return std::nullopt;
            return args[++i];
        };
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--trace") {
            o.trace = true;
        } else if (arg == "--yes" || arg == "-y") {
            o.yes = true;
        } else if (arg == "--cyrillic") {
            o.cyrillic = true;
        } else if (arg == "--new") {
            o.newEntries = true;
        } else if (arg == "--port") {
            auto port = value();
            if (!port || port->empty()) return Fail("--port needs a path");
            o.port = *port;
        } else if (arg == "--up-to") {
            auto text = value();
            if (!text) return Fail("--up-to needs a number");
            auto number = ParseEntryNumber(*text);
            if (!number) return Fail("--up-to: the entry number must be an integer from 1 to 9999");
            o.upTo = number;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Fail("unknown option " + arg);
        } else if (o.command == Command::None) {
            auto command = CommandNamed(arg);
            if (!command) return Fail("unknown command " + arg);
            o.command = *command;
        } else if (TakesFile(o.command) && o.file.empty()) {
            o.file = arg;
        } else {
            return Fail("unexpected argument " + arg);
        }
    }
    if (std::string error = CheckComplete(o); !error.empty()) return Fail(error);
    return ParseResult{o, {}};
}

std::string HelpText(Command command) {
    switch (command) {
        case Command::Ports:
            return "Usage: vantorctl ports\n"
                   "Lists the serial ports; the one port discovery chooses is marked with *.\n";
        case Command::GetProtocol:
            return "Usage: vantorctl [--port PATH] [--trace] get-protocol FILE.pro "
                   "(--up-to N | --new) [--cyrillic]\n"
                   "Fetches the display's protocol into FILE.pro: up to entry N (1 to 9999) or\n"
                   "the new entries. --cyrillic also writes the Cyrillic RTF document FILE.rtf.\n"
                   "Exit status 1 when no line arrived (\"No data\").\n";
        case Command::GetStatistics:
            return "Usage: vantorctl [--port PATH] [--trace] get-statistics FILE.sta\n"
                   "Fetches the display's statistics into FILE.sta.\n"
                   "Exit status 1 when no line arrived.\n";
        case Command::ClearProtocol:
            return "Usage: vantorctl [--port PATH] [--trace] clear-protocol [--yes]\n"
                   "Clears the display's protocol after the question \"Are you sure?\"\n"
                   "(answered by --yes, at the terminal, or No without a terminal).\n";
        case Command::ClearStatistics:
            return "Usage: vantorctl [--port PATH] [--trace] clear-statistics [--yes]\n"
                   "Clears the display's statistics after the question \"Are you sure?\"\n"
                   "(answered by --yes, at the terminal, or No without a terminal).\n";
        case Command::Convert:
            return "Usage: vantorctl convert FILE.pro [--cyrillic]\n"
                   "Writes the protocol as tab-separated spreadsheet text FILE.xls, and with\n"
                   "--cyrillic also the Cyrillic RTF document FILE.rtf. Needs no port.\n";
        case Command::None:
            break;
    }
    return "Usage: vantorctl [--port PATH] [--trace] [--yes] COMMAND [ARGS]\n"
           "The text display's protocol and statistics.\n"
           "\n"
           "Commands:\n"
           "  get-protocol FILE.pro (--up-to N | --new) [--cyrillic]\n"
           "  get-statistics FILE.sta\n"
           "  clear-protocol [--yes]\n"
           "  clear-statistics [--yes]\n"
           "  convert FILE.pro [--cyrillic]\n"
           "  ports\n"
           "\n"
           "Options:\n"
           "  --port PATH  the serial port (default: the USB-serial converter found)\n"
           "  --trace      every byte written and read, in hex with a time stamp, on stderr\n"
           "  --yes        answer Yes to the clear commands' question\n"
           "  --help       this text; COMMAND --help for one command\n"
           "\n"
           "Status texts go to standard output, messages and errors to standard error.\n"
           "Exit status: 0 done, 1 failed or refused, 2 wrong usage.\n";
}

}  // namespace vantorctl
