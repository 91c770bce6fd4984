// displaysim: a text display on a pseudo-terminal, for the setup and protocol tools' tests,
// demos and benchmarks. It takes the setup tool's login, setup, clock and logout commands
// and answers the protocol tool's protocol and statistics requests.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "common/clock.h"
#include "common/file_helpers.h"
#include "common/format.h"
#include "sim/display/display_faults.h"
#include "sim/display/display_model.h"
#include "sim/display/display_request.h"
#include "sim/display/session_record.h"
#include "sim/display/wire_pacer.h"
#include "sim/line/line_options.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;

// The display's own line: 9600 baud, 8 data bits, no parity, 2 stop bits.
constexpr int kDisplayBaud = 9600;
constexpr int kDisplayDataBits = 8;
constexpr int kDisplayStopBits = 2;
// How often the loop looks for a stop request while the line is quiet.
constexpr common::Millis kPollInterval{200};

// What a raw network client's line is taken to be: the display's own.
constexpr sim::LineSeen kDisplayLine{kDisplayBaud, kDisplayDataBits, kDisplayStopBits,
                                     sim::ParitySeen::None};

struct Options {
    sim::LineOptions line;
    std::string record;
    std::string protocolFile;
    std::string statisticsFile;
    bool realtime = false;
    bool verbose = false;
    sim::DisplayFaults faults;
};

// What the display does, under the options in --help.
std::string HelpFooter() {
    return "A text display on a pseudo-terminal reached through PATH (a symbolic link),\n"
           "for skellig/skelligctl and vantor/vantorctl with --port PATH, or on the network\n"
           "with --listen (--port URL). It listens at 9600 baud, 8 data bits, no parity,\n"
           "2 stop bits; a client that sets the line otherwise meets a silent display.\n"
           "\n"
           "Setup side: \"@TA\\r\" is answered \"A\\r\" and \"@Ta\\r\" \"a\\r\"; between them "
           "every\n"
           "setup command @TB ... @TN is acknowledged with its letter, the checksum (low,\n"
           "high byte) and \"\\r\". Clock commands (@U..., @D...) are taken without answer.\n"
           "Protocol side: \"@@/r\" followed by \"@YA@\" is answered with every line of the\n"
           "protocol, by \"@Y%04d@\" with the lines before the first entry and entries 1 to\n"
           "the number (an entry starts with a line beginning Coming, Going, On or Off),\n"
           "by \"@yA@\" with the statistics; \"@YI@\" and \"@yI@\" clear them.\n"
           "\n"
           "Fault kinds for --fault:\n" +
           sim::FaultUsage() +
           "\n"
           "Ends on SIGINT or SIGTERM and removes the link.";
}

void DeclareOptions(CLI::App& app, Options& options) {
    app.footer(HelpFooter());
    sim::DeclareLineOptions(app, options.line, "display");
    app.add_option("--record", options.record,
                   "Writes every command received, one per line, the ending \"\\r\" left off, "
                   "control bytes as \\xHH, a backslash as \\\\")
        ->type_name("FILE");
    app.add_option("--protocol", options.protocolFile,
                   "The protocol held by the display (bytes as sent)")
        ->type_name("FILE");
    app.add_option("--statistics", options.statisticsFile,
                   "The statistics held by the display (bytes as sent)")
        ->type_name("FILE");
    app.add_flag("--realtime", options.realtime,
                 "Takes and sends every character with its wire time at 9600 baud (11 bits per "
                 "character)");
    app.add_flag("--verbose", options.verbose,
                 "Prints every command and answer on standard output");
    app.add_option_function<std::vector<std::string>>(
           "--fault",
           [&options](const std::vector<std::string>& kinds) {
               for (const std::string& kind : kinds) {
                   std::string error;
                   if (sim::AddFault(kind, options.faults, error)) continue;
                   // The simulator's own texts name the option where they need to.
                   if (error.rfind("--fault", 0) == 0) throw CLI::ValidationError(error);
                   throw CLI::ValidationError("--fault", error);
               }
           },
           "Misbehaves; may be given several times (kinds below)")
        ->type_name("KIND")
        ->allow_extra_args(false);
}

bool LoadHeld(const std::string& path, const char* what, std::string& into) {
    if (path.empty()) return true;
    auto bytes = common::ReadWholeFile(path);
    if (!bytes) {
        std::fprintf(stderr, "displaysim: cannot read the %s file %s\n", what, path.c_str());
        return false;
    }
    into = *bytes;
    return true;
}

// Parity shows only over the network; a pseudo-terminal drops it.
bool IsDisplayLine(const sim::LineSeen& line) {
    return line.baud == kDisplayBaud && line.dataBits == kDisplayDataBits &&
           line.stopBits == kDisplayStopBits &&
           (line.parity == sim::ParitySeen::None || line.parity == sim::ParitySeen::NotVisible);
}

}  // namespace

int main(int argc, char** argv) {
    Options parsed;
    cli::CommandLine line("displaysim", "A text display on a pseudo-terminal or on the network.");
    DeclareOptions(line.app(), parsed);
    if (std::optional<int> status = line.Parse(argc, argv)) return *status;
    const Options* options = &parsed;

    std::string protocol, statistics;
    if (!LoadHeld(options->protocolFile, "protocol", protocol) ||
        !LoadHeld(options->statisticsFile, "statistics", statistics))
        return kExitFailed;
    sim::SessionRecord record;
    if (!record.open(options->record)) {
        std::fprintf(stderr, "displaysim: cannot write the record file %s\n",
                     options->record.c_str());
        return kExitFailed;
    }

    serial::InstallStopSignals();
    std::string error;
    sim::OpenLine opened =
        sim::OpenDeviceLine(options->line, kDisplayLine, "displaysim", options->verbose, error);
    if (!opened.line) {
        std::fprintf(stderr, "displaysim: %s\n", error.c_str());
        return kExitFailed;
    }
    sim::DeviceLine& deviceLine = *opened.line;

    common::RealClock clock;
    sim::WirePacer pacer(clock, kDisplayBaud, options->realtime);
    sim::DisplayRequestParser parser;
    sim::DisplayModel display(options->faults, std::move(protocol), std::move(statistics));
    if (opened.pty)
        std::printf("displaysim: text display on %s (%s)%s\n", options->line.link.c_str(),
                    opened.pty->slavePath().c_str(), options->realtime ? ", real time" : "");
    else
        std::printf("displaysim: text display on %s%s\n", opened.where.c_str(),
                    options->realtime ? ", real time" : "");
    std::fflush(stdout);

    bool lineWasWrong = false;
    auto write = [&](const std::string& bytes) { return deviceLine.write(bytes); };
    while (!serial::StopRequested()) {
        auto byte = deviceLine.readByte(kPollInterval);
        if (!byte) continue;
        // A display set to other line values sees garbage, never a command.
        const sim::LineSeen line = deviceLine.lineSeen();
        if (!IsDisplayLine(line)) {
            if (!lineWasWrong)
                std::fprintf(
                    stderr,
                    "displaysim: the client set %d baud, %d data bits, %d stop bits%s%s; "
                    "the display ignores what it sends\n",
                    line.baud, line.dataBits, line.stopBits,
                    line.parity == sim::ParitySeen::NotVisible ? "" : ", ",
                    line.parity == sim::ParitySeen::NotVisible ? "" : sim::ParityName(line.parity));
            lineWasWrong = true;
            parser.reset();
            continue;
        }
        lineWasWrong = false;
        pacer.received();
        std::optional<sim::DisplayRequest> request = parser.feed(*byte);
        if (!request) continue;
        if (!record.add(request->bytes))
            std::fprintf(stderr, "displaysim: writing the record file failed\n");
        sim::Answer answer = display.respond(*request);
        if (options->verbose) {
            std::printf("%4d < %s\n", display.commandsReceived(),
                        sim::RecordLine(request->bytes).c_str());
        }
        for (const sim::AnswerPart& part : answer) {
            clock.sleep(part.pauseBefore);
            if (options->verbose && !part.bytes.empty())
                std::printf("     > %s\n", common::HexBytes(part.bytes).c_str());
            bool sent = true;
            do {
                sent = pacer.send(part.bytes, write);
            } while (sent && part.endless && !serial::StopRequested());
            if (!sent) std::fprintf(stderr, "displaysim: writing to the line failed\n");
        }
        if (options->verbose) std::fflush(stdout);
    }
    return kExitOk;
}
