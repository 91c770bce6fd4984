#include "setup_tool/skelligctl/options.h"

#include <cctype>

#include "cli/command_line.h"
#include "cli/port_option.h"
#include "cli/serial_port.h"

namespace skelligctl {

namespace {
// "a<sep>b<sep>c" with three non-empty runs of digits, or nullopt.
std::optional<std::vector<std::string>> ThreeNumbers(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == separator) {
            parts.emplace_back();
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            parts.back() += c;
        } else {
            return std::nullopt;
        }
    }
    if (parts.size() != 3) return std::nullopt;
    for (const auto& p : parts)
        if (p.empty()) return std::nullopt;
    return parts;
}
// --time HH:MM:SS or --date DD.MM.YYYY into the choice's three texts.
void AddThreeNumbers(CLI::App& send, const std::string& name, const std::string& shape,
                     char separator, std::optional<std::vector<std::string>>& target,
                     const std::string& description) {
    send.add_option_function<std::string>(
            name,
            [&target, name, shape, separator](const std::string& text) {
                target = ThreeNumbers(text, separator);
                if (!target)
                    throw CLI::ValidationError(name, "takes " + shape + ", not '" + text + "'");
            },
            description)
        ->type_name(shape);
}

constexpr const char* kSendHelp =
    "Sends the setup file beside FILE.txt (its name up to the last \".\", then \".set\") and "
    "the text pages of FILE.txt to the text display, then sets the display's clock: to the "
    "PC's local time unless --time/--date say otherwise, with the daylight-saving rule of "
    "--dst (default summer); --no-clock leaves the clock alone. The line runs at 9600 baud, 8 "
    "data bits, 2 stop bits, no parity; the display must be set to the same on its own "
    "keyboard.";

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    Options options;
    cli::CommandLine line("skelligctl", "The text display's setup transfer on the serial line.");
    CLI::App& app = line.app();
    app.footer(
        "'skelligctl COMMAND --help' describes a command.\n"
        "Exit status: 0 done, 1 failed, 2 wrong usage or invalid time or date, 130 or 143\n"
        "stopped by Ctrl-C (SIGINT) or SIGTERM.");
    cli::AddPortOption(app, options.port);
    app.add_flag("--trace", options.trace, "Print every byte written and read, in hex, on stderr");
    app.add_option("--sysfs", options.sysfsRoot)->group("");  // for tests of port discovery

    CLI::App* send =
        line.AddCommand("send", "Send a setup file and its text pages, then set the clock");
    send->footer(kSendHelp);
    send->add_option("FILE.txt", options.textFile, "The text pages; the setup file is beside it")
        ->required();
    AddThreeNumbers(*send, "--time", "HH:MM:SS", ':', options.clock.time,
                    "Set the clock to this time (default: the PC's)");
    AddThreeNumbers(*send, "--date", "DD.MM.YYYY", '.', options.clock.date,
                    "Set the clock to this date (default: the PC's)");
    bool ruleGiven = false;
    send->add_option_function<std::string>(
            "--dst",
            [&options, &ruleGiven](const std::string& rule) {
                options.clock.rule = rule == "summer"   ? setup::kSummerTime
                                     : rule == "winter" ? setup::kWinterTime
                                                        : setup::kWithoutTimeSwitch;
                ruleGiven = true;
            },
            "Daylight-saving rule: summer (default), winter or none")
        ->check(cli::OneOf({"summer", "winter", "none"}))
        ->type_name("RULE");
    send->add_flag("--no-clock", options.clock.skip, "Leave the display's clock alone");
    send->callback([&options] { options.command = Command::Send; });

    line.AddCommand("ports", "List the serial ports")
        ->footer(
            "List the serial ports with their descriptions; * marks the converter that would "
            "be used.")
        ->callback([&options] { options.command = Command::Ports; });

    std::string out, err;
    if (std::optional<int> status = line.Parse(args, out, err)) {
        if (*status != cli::kExitOk) {
            error = err.substr(0, err.find_last_not_of('\n') + 1);
            return std::nullopt;
        }
        options.command = Command::Help;
        options.printed = out;
        return options;
    }
    if (options.clock.skip && (options.clock.time || options.clock.date || ruleGiven)) {
        error = "skelligctl send: --no-clock leaves the clock alone: drop --time, --date and --dst";
        return std::nullopt;
    }
    return options;
}

setup::ClockEntry ApplyClockChoice(const ClockChoice& choice, setup::ClockEntry entry) {
    if (choice.time) {
        entry.hours = (*choice.time)[0];
        entry.minutes = (*choice.time)[1];
        entry.seconds = (*choice.time)[2];
    }
    if (choice.date) {
        entry.day = (*choice.date)[0];
        entry.month = (*choice.date)[1];
        entry.year = (*choice.date)[2];
    }
    entry.rule = choice.rule;
    return entry;
}

bool ClockChoiceIsValid(const ClockChoice& choice, const setup::LocalTime& now,
                        std::string& error) {
    if (choice.skip) return true;
    if (setup::CheckedClock(ApplyClockChoice(choice, setup::PrefilledEntry(now)))) return true;
    error =
        "invalid time or date: the display takes hours 0-23, minutes and seconds 0-59, "
        "day 1-31, month 1-12, year 2000-2099";
    return false;
}

}  // namespace skelligctl
