// vantorctl: the text display's protocol and statistics from the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/interrupt.h"
#include "cli/serial_port.h"
#include "protocol_tool/vantorctl/commands.h"
#include "protocol_tool/vantorctl/options.h"

int main(int argc, char** argv) {
    cli::InstallInterruptHandling();
    const std::vector<std::string> args = cli::Utf8Arguments(argc, argv);
    vantorctl::ParseResult parsed = vantorctl::ParseOptions(args);
    if (!parsed.options) {
        std::fprintf(stderr, "%s\n", parsed.error.c_str());
        return cli::kExitUsage;
    }
    if (parsed.options->help) {
        std::fputs(parsed.options->printed.c_str(), stdout);
        return cli::kExitOk;
    }
    return cli::ExitStatusAfterStop(vantorctl::RunCommand(*parsed.options));
}
