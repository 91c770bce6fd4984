#pragma once
// Where a simulator's device is reached, as both simulators declare it: --link PATH (a
// pseudo-terminal) or --listen rfc2217://HOST:PORT / socket://HOST:PORT (a network server),
// with --refuse for the line settings a network server's port can't change.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "link/port_url.h"
#include "link/pseudo_terminal.h"
#include "sim/line/com_port_server.h"
#include "sim/line/device_line.h"
#include "sim/line/tcp_server.h"

namespace sim {

struct LineOptions {
    std::string link;
    std::optional<serial::PortAddress> listen;
    RefusedSettings refused;
};

// device: "PLC" or "display", for the help texts.
void DeclareLineOptions(CLI::App& app, LineOptions& options, const std::string& device);

// The open line and what it stands on.
struct OpenLine {
    std::unique_ptr<serial::PseudoTerminal> pty;
    std::unique_ptr<TcpServer> server;
    std::unique_ptr<DeviceLine> line;
    std::string where;  // "LINK -> PSEUDO-TERMINAL", or the URL served
};

// Opens what the options name. deviceLine: what a raw (socket://) client's line is taken to
// be. notes go to standard output with the program's name when verbose. nullptr line and a
// reason in error when it fails.
OpenLine OpenDeviceLine(const LineOptions& options, const LineSeen& deviceLine,
                        const std::string& program, bool verbose, std::string& error);

}  // namespace sim
