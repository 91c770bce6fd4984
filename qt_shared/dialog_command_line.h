#pragma once
// The command line of a dialog program, in the shape of the command-line tools': a usage
// line, the options with one line each, --help and --version, usage errors on one line and
// exit status 2. The toolkit's own options (-platform, -style, ...) are left for the
// application object.
#include <optional>
#include <string>
#include <vector>

namespace qtshared {

// What differs between the three dialog programs.
struct DialogProgram {
    const char* command;       // "quarnwin"
    const char* twin;          // its command-line twin, "quarnctl"
    const char* description;   // one line on what the program does
    const char* company;       // settings company key, "Hadrel"
    const char* settingsName;  // settings program name, "QuarnWin"
    bool automation = false;   // takes the automation start switches
    // Further lines for the end of --help (where the log lives, ...); may be empty.
    std::string notes;
};

struct DialogArguments {
    // Set: the program ends at once with this status, after `out` went to standard output
    // (--help, --version) or `err` to standard error (a usage error).
    std::optional<int> exitStatus;
    std::string out;
    std::string err;
    std::string port;         // --port PORT; empty: the stored choice or the converter
    bool automation = false;  // --automation, -Embedding, /Automation
    // The registration switches: write (/RegServer) or remove (/UnregServer, /Unregister)
    // the automation entries, then end.
    bool registerServer = false;
    bool unregisterServer = false;
    std::string platform;  // the toolkit's -platform value; empty when not given
};

// The arguments after the program's name.
DialogArguments ParseDialogArguments(const DialogProgram& program,
                                     const std::vector<std::string>& arguments);

// The --help text (also what a usage error points to).
std::string DialogHelpText(const DialogProgram& program);

}  // namespace qtshared
