// displaysim: a text display on a pseudo-terminal, for the setup and protocol tools' tests,
// demos and benchmarks. It takes the setup tool's login, setup, clock and logout commands
// and answers the protocol tool's protocol and statistics requests.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/file_helpers.h"
#include "common/format.h"
#include "link/pseudo_terminal.h"
#include "sim/display/display_faults.h"
#include "sim/display/display_model.h"
#include "sim/display/display_request.h"
#include "sim/display/session_record.h"
#include "sim/display/wire_pacer.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// The display's own line: 9600 baud, 8 data bits, no parity, 2 stop bits.
constexpr int kDisplayBaud = 9600;
constexpr int kDisplayDataBits = 8;
constexpr int kDisplayStopBits = 2;
// How often the loop looks for a stop request while the line is quiet.
constexpr common::Millis kPollInterval{200};

struct Options {
    std::string link;
    std::string record;
    std::string protocolFile;
    std::string statisticsFile;
    bool realtime = false;
    bool verbose = false;
    sim::DisplayFaults faults;
};

void PrintUsage(std::FILE* to) {
    std::fprintf(
        to,
        "Usage: displaysim --link PATH [--record FILE] [--protocol FILE]\n"
        "                  [--statistics FILE] [--realtime] [--verbose] [--fault KIND]...\n"
        "\n"
        "A text display on a pseudo-terminal reached through PATH (a symbolic link),\n"
        "for skellig/skelligctl and vantor/vantorctl with --port PATH. It listens at\n"
        "9600 baud, 8 data bits, no parity, 2 stop bits; a client that sets the line\n"
        "otherwise meets a silent display.\n"
        "\n"
        "Setup side: \"@TA\\r\" is answered \"A\\r\" and \"@Ta\\r\" \"a\\r\"; between them every\n"
        "setup command @TB ... @TN is acknowledged with its letter, the checksum (low,\n"
        "high byte) and \"\\r\". Clock commands (@U..., @D...) are taken without answer.\n"
        "Protocol side: \"@@/r\" followed by \"@YA@\" is answered with every line of the\n"
        "protocol, by \"@Y%%04d@\" with the lines before the first entry and entries 1 to\n"
        "the number (an entry starts with a line beginning Coming, Going, On or Off),\n"
        "by \"@yA@\" with the statistics; \"@YI@\" and \"@yI@\" clear them.\n"
        "\n"
        "  --link PATH        where the display's port appears (required)\n"
        "  --record FILE      writes every command received, one per line, the ending\n"
        "                     \"\\r\" left off, control bytes as \\xHH, a backslash as \\\\\n"
        "  --protocol FILE    the protocol held by the display (bytes as sent)\n"
        "  --statistics FILE  the statistics held by the display (bytes as sent)\n"
        "  --realtime         takes and sends every character with its wire time at\n"
        "                     9600 baud (11 bits per character)\n"
        "  --verbose          prints every command and answer on standard output\n"
        "  --fault KIND       misbehaves; may be given several times:\n"
        "%s"
        "\n"
        "Ends on SIGINT or SIGTERM and removes the link.\n",
        sim::FaultUsage().c_str());
}

// nullopt after a usage message; the exit status then is kExitUsage (or kExitOk for --help).
std::optional<Options> ParseOptions(int argc, char** argv, int& exitStatus) {
    Options options;
    exitStatus = kExitUsage;
    auto value = [&](int& i, const char* name) -> const char* {
        if (i + 1 >= argc) {
            std::fprintf(stderr, "displaysim: %s needs a value\n", name);
            return nullptr;
        }
        return argv[++i];
    };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* v = nullptr;
        if (arg == "--help" || arg == "-h") {
            PrintUsage(stdout);
            exitStatus = kExitOk;
            return std::nullopt;
        } else if (arg == "--realtime") {
            options.realtime = true;
        } else if (arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "--link" || arg == "--record" || arg == "--protocol" ||
                   arg == "--statistics" || arg == "--fault") {
            if (!(v = value(i, arg.c_str()))) return std::nullopt;
            if (arg == "--link") options.link = v;
            if (arg == "--record") options.record = v;
            if (arg == "--protocol") options.protocolFile = v;
            if (arg == "--statistics") options.statisticsFile = v;
            if (arg == "--fault") {
                std::string error;
                if (!sim::AddFault(v, options.faults, error)) {
                    std::fprintf(stderr, "displaysim: %s\n", error.c_str());
                    return std::nullopt;
                }
            }
        } else {
            std::fprintf(stderr, "displaysim: unknown argument \"%s\" (see --help)\n", arg.c_str());
            return std::nullopt;
        }
    }
    if (options.link.empty()) {
        std::fprintf(stderr, "displaysim: --link PATH is required (see --help)\n");
        return std::nullopt;
    }
    return options;
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

bool IsDisplayLine(const serial::ObservedLine& line) {
    return line.baud == kDisplayBaud && line.dataBits == kDisplayDataBits &&
           line.stopBits == kDisplayStopBits && !line.parity;
}

}  // namespace

int main(int argc, char** argv) {
    int exitStatus = kExitOk;
    std::optional<Options> options = ParseOptions(argc, argv, exitStatus);
    if (!options) return exitStatus;

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
    auto pty = serial::PseudoTerminal::Create(options->link, error);
    if (!pty) {
        std::fprintf(stderr, "displaysim: %s\n", error.c_str());
        return kExitFailed;
    }

    common::RealClock clock;
    sim::WirePacer pacer(clock, kDisplayBaud, options->realtime);
    sim::DisplayRequestParser parser;
    sim::DisplayModel display(options->faults, std::move(protocol), std::move(statistics));
    std::printf("displaysim: text display on %s (%s)%s\n", options->link.c_str(),
                pty->slavePath().c_str(), options->realtime ? ", real time" : "");
    std::fflush(stdout);

    bool lineWasWrong = false;
    auto write = [&](const std::string& bytes) { return pty->write(bytes); };
    while (!serial::StopRequested()) {
        auto byte = pty->readByte(kPollInterval);
        if (!byte) continue;
        // A display set to other line values sees garbage, never a command.
        const serial::ObservedLine line = pty->observedLine();
        if (!IsDisplayLine(line)) {
            if (!lineWasWrong)
                std::fprintf(stderr,
                             "displaysim: the client set %d baud, %d data bits, %d stop bits%s; "
                             "the display ignores what it sends\n",
                             line.baud, line.dataBits, line.stopBits,
                             line.parity ? ", parity" : "");
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
