#include "sim/line/line_options.h"

#include <cstdio>

#include "sim/line/network_line.h"
#include "sim/line/pty_line.h"

namespace sim {

namespace {

constexpr const char* kRefusable = "speed, data-size, parity or stop-size";

bool Refuse(const std::string& setting, RefusedSettings& refused) {
    if (setting == "speed") return refused.baud = true;
    if (setting == "data-size") return refused.dataSize = true;
    if (setting == "parity") return refused.parity = true;
    if (setting == "stop-size") return refused.stopSize = true;
    return false;
}

}  // namespace

void DeclareLineOptions(CLI::App& app, LineOptions& options, const std::string& device) {
    CLI::Option* link =
        app.add_option(
               "--link", options.link,
               "Where the " + device + "'s port appears (a symbolic link to the pseudo-terminal)")
            ->type_name("PATH");
    CLI::Option* listen =
        app.add_option_function<std::string>(
               "--listen",
               [&options](const std::string& text) {
                   const serial::ParsedPort parsed = serial::ParsePortUrl(text);
                   if (!parsed.ok()) throw CLI::ValidationError("--listen", parsed.problem);
                   if (parsed.address.scheme == serial::PortScheme::Local)
                       throw CLI::ValidationError(
                           "--listen", "takes rfc2217://HOST:PORT or socket://HOST:PORT");
                   options.listen = parsed.address;
               },
               "Serve the " + device +
                   " on the network instead: rfc2217://HOST:PORT (the client sets the line, parity "
                   "included, and the " +
                   device +
                   " judges it) or socket://HOST:PORT (raw bytes, the line taken as right); one "
                   "client at a time")
            ->type_name("URL")
            ->excludes(link);
    app.add_option_function<std::vector<std::string>>(
           "--refuse",
           [&options](const std::vector<std::string>& settings) {
               for (const std::string& setting : settings)
                   if (!Refuse(setting, options.refused))
                       throw CLI::ValidationError("--refuse", "unknown setting '" + setting +
                                                                  "' (known: " + kRefusable + ")");
           },
           std::string("With --listen rfc2217://: the server's port keeps its own value of this "
                       "setting (38400 baud, 8 data bits, no parity, 1 stop bit) whatever the "
                       "client asks; may be given several times: ") +
               kRefusable)
        ->type_name("SETTING")
        ->allow_extra_args(false)
        ->needs(listen);
    app.final_callback([&options]() {
        if (options.link.empty() && !options.listen) throw CLI::RequiredError("--link or --listen");
    });
}

OpenLine OpenDeviceLine(const LineOptions& options, const LineSeen& deviceLine,
                        const std::string& program, bool verbose, std::string& error) {
    OpenLine opened;
    if (!options.listen) {
        opened.pty = serial::PseudoTerminal::Create(options.link, error);
        if (!opened.pty) return opened;
        opened.line = std::make_unique<PtyLine>(*opened.pty);
        opened.where = options.link + " -> " + opened.pty->slavePath();
        return opened;
    }
    opened.server = TcpServer::Listen(options.listen->host, options.listen->port, error);
    if (!opened.server) return opened;
    opened.where = ListenUrl(*options.listen);
    std::function<void(const std::string&)> note;
    if (verbose) {
        note = [program](const std::string& text) {
            std::printf("%s: %s\n", program.c_str(), text.c_str());
            std::fflush(stdout);
        };
    }
    opened.line = std::make_unique<NetworkLine>(*opened.server, options.listen->scheme, deviceLine,
                                                ComPortServer(program, options.refused), note);
    return opened;
}

}  // namespace sim
