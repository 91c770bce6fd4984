// quarnctl: the PLC tool without a window.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/interrupt.h"
#include "plc_tool/quarnctl/context.h"

namespace {

void Usage(std::FILE* out) {
    std::fprintf(out,
                 "usage: quarnctl [--port PATH] [--baud 9600|19200] [--yes] [--trace] "
                 "[--log FILE] COMMAND [ARGS]\n"
                 "  --port PATH   serial port (ttyUSB0, /dev/ttyUSB0, a simulator's link);\n"
                 "                without it the USB-serial converter is looked for\n"
                 "  --baud B      9600 (default) or 19200; 8 data bits, even parity, 1 stop bit\n"
                 "  --yes         answer every question with Yes\n"
                 "  --trace       print every byte written and read, in hex, on stderr\n"
                 "  --log FILE    transfer log (default: log.txt beside the program)\n"
                 "commands:\n");
    for (const auto& c : quarnctl::Commands())
        std::fprintf(out, "  %-12s %s\n", c.name, c.synopsis);
    std::fprintf(out,
                 "'quarnctl COMMAND --help' describes a command. Exit status: 0 done, 1 failed "
                 "or refused, 2 wrong usage.\n");
}

}  // namespace

int main(int argc, char** argv) {
    cli::InstallInterruptHandling();
    quarnctl::GlobalOptions options;
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return cli::kExitOk;
        } else if (arg == "--port") {
            const char* v = value();
            if (!v) {
                std::fprintf(stderr, "quarnctl: %s needs a value\n", arg.c_str());
                return cli::kExitUsage;
            }
            options.port = v;
        } else if (arg == "--baud") {
            const char* v = value();
            if (v && std::strcmp(v, "9600") == 0) {
                options.fast = false;
            } else if (v && std::strcmp(v, "19200") == 0) {
                options.fast = true;
            } else {
                std::fprintf(stderr, "quarnctl: --baud takes 9600 or 19200\n");
                return cli::kExitUsage;
            }
        } else if (arg == "--yes") {
            options.yes = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg == "--log") {
            const char* v = value();
            if (!v) {
                std::fprintf(stderr, "quarnctl: %s needs a value\n", arg.c_str());
                return cli::kExitUsage;
            }
            options.logPath = v;
        } else if (arg == "--sysfs") {  // for tests: another root for port discovery
            const char* v = value();
            if (!v) {
                std::fprintf(stderr, "quarnctl: %s needs a value\n", arg.c_str());
                return cli::kExitUsage;
            }
            options.sysfsRoot = v;
        } else {
            std::fprintf(stderr, "quarnctl: unknown option '%s'\n", arg.c_str());
            Usage(stderr);
            return cli::kExitUsage;
        }
    }
    if (i >= argc) {
        Usage(stderr);
        return cli::kExitUsage;
    }
    const std::string name = argv[i];
    std::vector<std::string> args(argv + i + 1, argv + argc);
    for (const auto& command : quarnctl::Commands()) {
        if (name != command.name) continue;
        for (const auto& a : args) {
            if (a == "--help" || a == "-h") {
                std::printf("usage: quarnctl [OPTIONS] %s %s\n%s\n", command.name, command.synopsis,
                            command.help);
                return cli::kExitOk;
            }
        }
        quarnctl::Context context(options);
        return cli::ExitStatusAfterStop(command.run(context, args));
    }
    std::fprintf(stderr, "quarnctl: unknown command '%s'\n", name.c_str());
    Usage(stderr);
    return cli::kExitUsage;
}
