#pragma once
// The command line of vantorctl:
//   vantorctl [--port PATH] [--trace] [--yes] COMMAND [ARGS]
//   get-protocol FILE.pro (--up-to N | --new) [--cyrillic]
//   get-statistics FILE.sta
//   clear-protocol [--yes] | clear-statistics [--yes]
//   convert FILE.pro [--cyrillic]
//   ports
#include <optional>
#include <string>
#include <vector>

namespace vantorctl {

enum class Command {
    None,
    Ports,
    GetProtocol,
    GetStatistics,
    ClearProtocol,
    ClearStatistics,
    Convert,
};

struct Options {
    Command command = Command::None;
    bool help = false;    // --help or --version: printed holds the text
    std::string printed;  // the help or version text, for standard output
    std::string port;     // empty: port discovery
    bool trace = false;
    bool yes = false;
    std::string file;
    std::optional<int> upTo;  // --up-to N: the protocol up to entry N (Mode 0, Cnt N)
    bool newEntries = false;  // --new: the new protocol entries (Mode 1)
    bool cyrillic = false;
};

struct ParseResult {
    std::optional<Options> options;
    std::string error;  // set when the command line is wrong: exit status 2; one line naming
                        // the argument, without a newline
};

ParseResult ParseOptions(const std::vector<std::string>& args);

// The help text for the tool (Command::None) or one command.
std::string HelpText(Command command);

}  // namespace vantorctl
