#pragma once
// What every quarnctl command gets: the global options, the console front end and, once a
// command asks for it, the session on the opened port.
#include <memory>
#include <string>
#include <vector>

#include "cli/console_frontend.h"
#include "cli/serial_port.h"
#include "common/clock.h"
#include "plc_tool/core/control_operations.h"
#include "plc_tool/core/quarn_session.h"

namespace quarnctl {

struct GlobalOptions {
    std::string port;     // --port PATH; empty: port discovery
    bool fast = false;    // --baud 19200
    bool yes = false;     // --yes
    bool trace = false;   // --trace
    std::string logPath;  // --log FILE; empty: the default log
    int station = -1;     // --station N: the PLC's address, no search; -1: search
    std::string sysfsRoot = "/sys";
};

class Context {
  public:
    explicit Context(GlobalOptions options);

    const GlobalOptions& options() const { return options_; }
    cli::ConsoleFrontend& frontend() { return frontend_; }
    common::Clock& clock() { return clock_; }
    // Chooses the port and opens the link; false (with the reason on standard error) when
    // that is not possible.
    bool Connect();
    quarnwin::QuarnSession& session() { return *session_; }

  private:
    GlobalOptions options_;
    common::RealClock clock_;
    cli::ConsoleFrontend frontend_;
    cli::PortStack ports_;
    std::unique_ptr<quarnwin::QuarnSession> session_;
};

// The exit status for an operation's outcome.
int ExitStatus(quarnwin::Outcome outcome);

using CommandFunction = int (*)(Context& context, const std::vector<std::string>& args);

struct Command {
    const char* name;
    const char* synopsis;  // arguments after the name
    const char* help;      // one paragraph
    CommandFunction run;
};

// Every command, in the order --help lists them.
const std::vector<Command>& Commands();

}  // namespace quarnctl
