#pragma once
// skelligctl's command line: the global options, the command and the clock choices of
// "send", checked before anything touches the port.
#include <optional>
#include <string>
#include <vector>

#include "setup_tool/core/clock_setting.h"

namespace skelligctl {

// Help: --help or --version was asked for; Options::printed holds the text.
enum class Command { Send, Ports, Help };

// What "send" does in the clock step, in place of the "Time / Date" dialog.
struct ClockChoice {
    bool skip = false;  // --no-clock: as Cancel in the dialog
    // --time HH:MM:SS and --date DD.MM.YYYY as their three texts; unset: the PC's time.
    std::optional<std::vector<std::string>> time;
    std::optional<std::vector<std::string>> date;
    int rule = setup::kSummerTime;  // --dst summer|winter|none
};

struct Options {
    std::string port;  // --port PATH; empty: port discovery
    bool trace = false;
    std::string sysfsRoot = "/sys";  // --sysfs, for tests of the port discovery
    Command command = Command::Help;
    std::string textFile;  // send FILE.txt
    ClockChoice clock;
    std::string printed;  // Help: the help or version text, for standard output
};

// The options, or nullopt with the reason in error (a usage error, one line naming the
// argument, without a newline).
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

// The dialog's entry that the clock choice makes of a prefilled one.
setup::ClockEntry ApplyClockChoice(const ClockChoice& choice, setup::ClockEntry entry);

// Checks the clock choice against the ranges of the dialog, with the PC's time for what
// was not given; false with the reason in error.
bool ClockChoiceIsValid(const ClockChoice& choice, const setup::LocalTime& now, std::string& error);

}  // namespace skelligctl
