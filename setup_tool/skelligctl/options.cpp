#include "setup_tool/skelligctl/options.h"

#include <cctype>

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
}  // namespace

std::string UsageText() {
    return "usage: skelligctl [--port PATH] [--trace] COMMAND [ARGS]\n"
           "  --port PATH   serial port (ttyUSB0, /dev/ttyUSB0, a simulator's link);\n"
           "                without it the USB-serial converter is looked for\n"
           "  --trace       print every byte written and read, in hex, on stderr\n"
           "commands:\n"
           "  send FILE.txt [--time HH:MM:SS] [--date DD.MM.YYYY] [--dst summer|winter|none]\n"
           "                [--no-clock]\n"
           "                Sends the setup file beside FILE.txt (its name up to the last\n"
           "                \".\", then \".set\") and the text pages of FILE.txt to the text\n"
           "                display, then sets the display's clock: to the PC's local time\n"
           "                unless --time/--date say otherwise, with the daylight-saving rule\n"
           "                of --dst (default summer); --no-clock leaves the clock alone.\n"
           "                The line runs at 9600 baud, 8 data bits, 2 stop bits, no parity;\n"
           "                the display must be set to the same on its own keyboard.\n"
           "  ports         List the serial ports with their descriptions; * marks the\n"
           "                converter that would be used.\n"
           "Exit status: 0 done, 1 failed, 2 wrong usage or invalid time or date.\n";
}

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    Options options;
    std::size_t i = 0;
    auto value = [&](const std::string& name) -> std::optional<std::string> {
        if (i + 1 >= args.size()) {
            error = name + " needs a value";
            return std::nullopt;
        }
        return args[++i];
    };
    for (; i < args.size() && args[i].rfind("-", 0) == 0; ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.command = Command::Help;
            return options;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg == "--port" || arg == "--sysfs") {
            auto v = value(arg);
            if (!v) return std::nullopt;
            (arg == "--port" ? options.port : options.sysfsRoot) = *v;
        } else {
            error = "unknown option '" + arg + "'";
            return std::nullopt;
        }
    }
    if (i >= args.size()) {
        error = "a command is needed";
        return std::nullopt;
    }
    const std::string command = args[i++];
    if (command == "ports") {
        options.command = Command::Ports;
        if (i < args.size()) {
            error = "ports takes no arguments";
            return std::nullopt;
        }
        return options;
    }
    if (command != "send") {
        error = "unknown command '" + command + "'";
        return std::nullopt;
    }
    options.command = Command::Send;
    bool clockGiven = false;
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.command = Command::Help;
            return options;
        } else if (arg == "--no-clock") {
            options.clock.skip = true;
        } else if (arg == "--time" || arg == "--date") {
            auto v = value(arg);
            if (!v) return std::nullopt;
            auto parts = ThreeNumbers(*v, arg == "--time" ? ':' : '.');
            if (!parts) {
                error = arg + " takes " + (arg == "--time" ? "HH:MM:SS" : "DD.MM.YYYY") +
                        ", not '" + *v + "'";
                return std::nullopt;
            }
            (arg == "--time" ? options.clock.time : options.clock.date) = *parts;
            clockGiven = true;
        } else if (arg == "--dst") {
            auto v = value(arg);
            if (!v) return std::nullopt;
            if (*v == "summer") {
                options.clock.rule = setup::kSummerTime;
            } else if (*v == "winter") {
                options.clock.rule = setup::kWinterTime;
            } else if (*v == "none") {
                options.clock.rule = setup::kWithoutTimeSwitch;
            } else {
                error = "--dst takes summer, winter or none";
                return std::nullopt;
            }
            clockGiven = true;
        } else if (arg.rfind("-", 0) == 0) {
            error = "unknown option '" + arg + "' of send";
            return std::nullopt;
        } else if (options.textFile.empty()) {
            options.textFile = arg;
        } else {
            error = "send takes one text file";
            return std::nullopt;
        }
    }
    if (options.textFile.empty()) {
        error = "send needs the text file FILE.txt";
        return std::nullopt;
    }
    if (options.clock.skip && clockGiven) {
        error = "--no-clock leaves the clock alone: drop --time, --date and --dst";
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
