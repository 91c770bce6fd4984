// plcsim: a PLC on a pseudo-terminal, for tests, demonstrations and training.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "link/pseudo_terminal.h"
#include "sim/plc/live_values.h"
#include "sim/plc/plc_simulator.h"

namespace {

void Usage(std::FILE* out) {
    std::fprintf(out,
                 "usage: plcsim --link PATH [--station N] [--firmware M.N] [--verbose]\n"
                 "              [--image FILE] [--realtime] [--fault KIND]...\n"
                 "Simulates a PLC on a pseudo-terminal reached through the symbolic link PATH.\n"
                 "  --station N     station address it answers at (default 64)\n"
                 "  --firmware M.N  firmware version it reports (default 2.0)\n"
                 "  --verbose       print every telegram received and sent in hex\n"
                 "  --image FILE    the PLC's memory: loaded at start when the file exists,\n"
                 "                  saved after every change (so a later run sees a download)\n"
                 "  --memory FILE   initial memory contents (text: ADDRESS or SEGMENT:OFFSET,\n"
                 "                  then hexadecimal bytes or \"texts\"); the counter word at\n"
                 "                  0200, bit 0 of 0210 and the ramp at 0220 change by themselves\n"
                 "  --realtime      take and send every byte with its wire time at the speed\n"
                 "                  the client set (11 bits per character)\n"
                 "  --fault KIND    misbehave: %s\n"
                 "It answers only when the line is set to 8 data bits, 1 stop bit at 9600 or\n"
                 "19200 baud, and runs until interrupted.\n",
                 sim::kPlcFaultKinds);
}

bool ParseNumber(const char* text, long low, long high, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 0);
    return end != text && *end == '\0' && value >= low && value <= high;
}

}  // namespace

int main(int argc, char** argv) {
    sim::PlcSimOptions options;
    std::string memoryFile;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "plcsim: %s needs a value\n", arg.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        long n = 0;
        if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return 0;
        } else if (arg == "--link") {
            options.linkPath = value();
        } else if (arg == "--station") {
            if (!ParseNumber(value(), 0, 255, n)) {
                std::fprintf(stderr, "plcsim: --station takes 0 to 255\n");
                return 2;
            }
            options.station = static_cast<std::uint8_t>(n);
        } else if (arg == "--firmware") {
            unsigned major = 0, minor = 0;
            const char* text = value();
            char extra = 0;
            if (std::sscanf(text, "%u.%u%c", &major, &minor, &extra) != 2 || major > 255 ||
                minor > 255) {
                std::fprintf(stderr, "plcsim: --firmware takes M.N, for example 2.0\n");
                return 2;
            }
            options.firmwareMajor = static_cast<std::uint8_t>(major);
            options.firmwareMinor = static_cast<std::uint8_t>(minor);
        } else if (arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "--image") {
            options.imagePath = value();
        } else if (arg == "--memory") {
            memoryFile = value();
        } else if (arg == "--realtime") {
            options.realtime = true;
        } else if (arg == "--fault") {
            std::string kind = value();
            if (!options.faults.parse(kind)) {
                std::fprintf(stderr, "plcsim: unknown fault '%s' (known: %s)\n", kind.c_str(),
                             sim::kPlcFaultKinds);
                return 2;
            }
        } else {
            std::fprintf(stderr, "plcsim: unknown argument '%s'\n", arg.c_str());
            Usage(stderr);
            return 2;
        }
    }
    if (options.linkPath.empty()) {
        Usage(stderr);
        return 2;
    }
    serial::InstallStopSignals();
    std::string error;
    auto pty = serial::PseudoTerminal::Create(options.linkPath, error);
    if (!pty) {
        std::fprintf(stderr, "plcsim: %s\n", error.c_str());
        return 1;
    }
    if (options.verbose)
        std::printf("plcsim: station %d on %s -> %s\n", options.station, options.linkPath.c_str(),
                    pty->slavePath().c_str());
    std::fflush(stdout);
    common::RealClock clock;
    sim::PlcSimulator simulator(options, *pty, clock);
    if (!simulator.loadImage(error)) {
        std::fprintf(stderr, "plcsim: %s\n", error.c_str());
        return 1;
    }
    sim::InstallLiveValues(simulator.device().memory());
    if (!memoryFile.empty() &&
        !sim::LoadMemoryFile(memoryFile, simulator.device().memory(), error)) {
        std::fprintf(stderr, "plcsim: %s\n", error.c_str());
        return 2;
    }
    simulator.run();
    return 0;
}
