#pragma once
// QuarnWin's command line: the port, and the automation start switches.
#include <string>
#include <vector>

namespace quarnwin {

struct CommandLine {
    bool help = false;
    bool version = false;     // --version
    bool automation = false;  // started by an automation client
    // The framework's registration switches: write (/RegServer) or remove (/UnregServer,
    // /Unregister) the automation entries, then end.
    bool registerServer = false;
    bool unregisterServer = false;
    std::string port;   // --port PATH
    std::string error;  // not empty: the arguments were not understood
};

// The arguments after the program name (the toolkit's own options already taken out).
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The --help text.
const char* UsageText();

// The platform's part of the --help text: the port's form, the automation switches, and
// where settings and the log are kept.
const char* UsagePlatformText();

// The --version text: the program's name and version, one line.
const char* VersionText();

}  // namespace quarnwin
