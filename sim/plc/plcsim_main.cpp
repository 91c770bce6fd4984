// plcsim: a PLC on a pseudo-terminal, for tests, demonstrations and training.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "sim/line/line_options.h"
#include "sim/plc/live_values.h"
#include "sim/plc/plc_simulator.h"

namespace {

constexpr const char* kHelp =
    "It answers only when the line is set to 8 data bits, 1 stop bit at 9600 or 19200 baud "
    "(and even parity, where the line shows it: over rfc2217://), and runs until interrupted.";

// What a raw network client's line is taken to be: the PLC's own.
constexpr sim::LineSeen kPlcLine{9600, 8, 1, sim::ParitySeen::Even};

bool ParseNumber(const std::string& text, long low, long high, long& value) {
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 0);
    return end != text.c_str() && *end == '\0' && value >= low && value <= high;
}

void DeclareOptions(CLI::App& app, sim::PlcSimOptions& options, sim::LineOptions& line,
                    std::string& memoryFile) {
    app.footer(kHelp);
    sim::DeclareLineOptions(app, line, "PLC");
    app.add_option_function<std::string>(
           "--station",
           [&options](const std::string& text) {
               long n = 0;
               if (!ParseNumber(text, 0, 255, n))
                   throw CLI::ValidationError("--station", "takes 0 to 255");
               options.station = static_cast<std::uint8_t>(n);
           },
           "Station address it answers at (default 64)")
        ->type_name("N");
    app.add_option_function<std::string>(
           "--firmware",
           [&options](const std::string& text) {
               unsigned major = 0, minor = 0;
               char extra = 0;
               if (std::sscanf(text.c_str(), "%u.%u%c", &major, &minor, &extra) != 2 ||
                   major > 255 || minor > 255)
                   throw CLI::ValidationError("--firmware", "takes M.N, for example 2.0");
               options.firmwareMajor = static_cast<std::uint8_t>(major);
               options.firmwareMinor = static_cast<std::uint8_t>(minor);
           },
           "Firmware version it reports (default 2.0)")
        ->type_name("M.N");
    app.add_flag("--verbose", options.verbose, "Print every telegram received and sent in hex");
    app.add_option("--image", options.imagePath,
                   "The PLC's memory: loaded at start when the file exists, saved after every "
                   "change (so a later run sees a download)")
        ->type_name("FILE");
    app.add_option("--memory", memoryFile,
                   "Initial memory contents (text: ADDRESS or SEGMENT:OFFSET, then hexadecimal "
                   "bytes or \"texts\"); the counter word at 0200, bit 0 of 0210 and the ramp at "
                   "0220 change by themselves")
        ->type_name("FILE");
    app.add_flag("--realtime", options.realtime,
                 "Take and send every byte with its wire time at the speed the client set (11 "
                 "bits per character)");
    app.add_option_function<std::vector<std::string>>(
           "--fault",
           [&options](const std::vector<std::string>& kinds) {
               for (const std::string& kind : kinds)
                   if (!options.faults.parse(kind))
                       throw CLI::ValidationError(
                           "--fault",
                           "unknown fault '" + kind + "' (known: " + sim::kPlcFaultKinds + ")");
           },
           std::string("Misbehave; may be given several times: ") + sim::kPlcFaultKinds)
        ->type_name("KIND")
        ->allow_extra_args(false);
}

}  // namespace

int main(int argc, char** argv) {
    sim::PlcSimOptions options;
    sim::LineOptions lineOptions;
    std::string memoryFile;
    cli::CommandLine line("plcsim", "Simulates a PLC on a pseudo-terminal or on the network.");
    DeclareOptions(line.app(), options, lineOptions, memoryFile);
    if (std::optional<int> status = line.Parse(argc, argv)) return *status;
    serial::InstallStopSignals();
    std::string error;
    sim::OpenLine opened =
        sim::OpenDeviceLine(lineOptions, kPlcLine, "plcsim", options.verbose, error);
    if (!opened.line) {
        std::fprintf(stderr, "plcsim: %s\n", error.c_str());
        return 1;
    }
    // The network address is always shown: with port 0 it is the only way to learn it.
    if (options.verbose || opened.server)
        std::printf("plcsim: station %d on %s\n", options.station, opened.where.c_str());
    std::fflush(stdout);
    common::RealClock clock;
    sim::PlcSimulator simulator(options, *opened.line, clock);
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
