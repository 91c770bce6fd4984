// vantorctl: the text display's protocol and statistics from the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/interrupt.h"
#include "cli/serial_port.h"
#include "protocol_tool/vantorctl/commands.h"
#include "protocol_tool/vantorctl/options.h"

int main(int argc, char** argv) {
    cli::InstallInterruptHandling();
    std::vector<std::string> args(argv + 1, argv + argc);
    vantorctl::ParseResult parsed = vantorctl::ParseOptions(args);
    if (!parsed.options) {
        std::fprintf(stderr, "vantorctl: %s\nTry 'vantorctl --help'.\n", parsed.error.c_str());
        return cli::kExitUsage;
    }
    return cli::ExitStatusAfterStop(vantorctl::RunCommand(*parsed.options));
}
