#pragma once
// What every quarnctl command gets: the global options, the console front end and, once a
// command asks for it, the session on the opened port.
#include <memory>
#include <string>
#include <vector>

#include "cli/console_frontend.h"
#include "cli/serial_port.h"
#include "common/clock.h"
#include "monitor/paging.h"
#include "plc_tool/core/control_operations.h"
#include "plc_tool/core/quarn_session.h"

namespace CLI {
class App;
}

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

// What a command's own options and arguments parse into; each command reads its fields.
struct CommandArguments {
    std::string path;  // download, verify: PROJECT.pr; upload: FOLDER; watch: SYMBOLS.ot
    // watch
    int cycles = 0;  // 0: until interrupted
    int top = 0;
    std::vector<monitor::PagingKey> keys;
    std::string csvFile;  // --csv FILE; empty: none
    // download
    bool dryRun = false;
    std::string backupFolder;  // --backup DIR; empty: none
    bool verify = false;
};

using CommandFunction = int (*)(Context& context, const CommandArguments& args);
// Declares a command's options and arguments on its part of the command line.
using DeclareFunction = void (*)(CLI::App& command, CommandArguments& args);

struct Command {
    const char* name;
    const char* description;  // one line, in the list of commands
    const char* help;         // one paragraph, in the command's own --help
    DeclareFunction declare;  // nullptr: the command takes no options or arguments
    CommandFunction run;
};

// Every command, in the order --help lists them.
const std::vector<Command>& Commands();

}  // namespace quarnctl
