#include "cli/command_line.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <sstream>

#include "cli/arguments.h"
#include "cli/serial_port.h"
#include "common/whole_number.h"

namespace cli {

namespace {

constexpr const char* kCompletionFlag = "--bash-completion";

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// "a b" -> "'a' 'b'": the words CLI11 lists after "not expected: ".
std::string Quoted(const std::string& words) {
    std::string out;
    size_t start = 0;
    while (start < words.size()) {
        size_t end = words.find(' ', start);
        if (end == std::string::npos) end = words.size();
        if (end > start) out += (out.empty() ? "'" : " '") + words.substr(start, end - start) + "'";
        start = end + 1;
    }
    return out;
}

// The selected commands, outermost first, as far as the parse got.
std::string CommandPath(const CLI::App& app) {
    std::string path;
    const CLI::App* level = &app;
    while (level) {
        const std::vector<CLI::App*> chosen = level->get_subcommands();
        if (chosen.empty()) break;
        level = chosen.front();
        path += " " + level->get_name();
    }
    return path;
}

}  // namespace

CommandLine::CommandLine(std::string tool, const std::string& description)
    : tool_(std::move(tool)), app_(description, tool_) {
    app_.set_version_flag("--version", tool_ + " " + SuiteVersion(),
                          "Print the program's name and version and exit");
    app_.set_help_flag("-h,--help", "Print this help and exit");
    // Global options may also follow the command.
    app_.fallthrough();
    app_.get_formatter()->label("SUBCOMMAND", "COMMAND");
    app_.add_flag_callback(
            kCompletionFlag,
            [this]() {
                std::cout << BashCompletion(app_, tool_) << std::flush;
                throw CLI::Success();
            },
            "Print the bash completion script and exit")
        ->group("");
}

CLI::App* CommandLine::AddCommand(const std::string& name, const std::string& description) {
    CLI::App* command = app_.add_subcommand(name, description);
    command->group("Commands");
    command->set_help_flag("-h,--help", "Print this help and exit");
    command->fallthrough();
    app_.require_subcommand(1);
    hasCommands_ = true;
    return command;
}

std::optional<int> CommandLine::Parse(int argc, const char* const* argv) {
    return Parse(Utf8Arguments(argc, argv));
}

std::optional<int> CommandLine::Parse(const std::vector<std::string>& args) {
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app_.parse(reversed);
    } catch (const CLI::ParseError& error) {
        return Finish(error, std::cout, std::cerr);
    }
    return std::nullopt;
}

std::optional<int> CommandLine::Parse(const std::vector<std::string>& args, std::string& out,
                                      std::string& err) {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    std::ostringstream outText, errText;
    std::optional<int> status;
    try {
        app_.parse(reversed);
    } catch (const CLI::ParseError& error) {
        status = Finish(error, outText, errText);
    }
    out = outText.str();
    err = errText.str();
    return status;
}

std::optional<int> CommandLine::Finish(const CLI::ParseError& error, std::ostream& out,
                                       std::ostream& err) {
    if (dynamic_cast<const CLI::CallForHelp*>(&error) ||
        dynamic_cast<const CLI::CallForAllHelp*>(&error) ||
        dynamic_cast<const CLI::CallForVersion*>(&error)) {
        app_.exit(error, out, err);
        return kExitOk;
    }
    if (dynamic_cast<const CLI::Success*>(&error)) return kExitOk;
    err << UsageMessage(error) << std::flush;
    return kExitUsage;
}

std::string CommandLine::UsageMessage(const CLI::ParseError& error) const {
    std::string what = error.what();
    std::string path = CommandPath(app_);
    // A complaint about a global option is the tool's, not the command's.
    const std::string subject = what.substr(0, what.find(':'));
    for (const CLI::Option* option : app_.get_options())
        if (StartsWith(subject, "-") && option->check_name(subject)) path.clear();
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) && EndsWith(what, " missing")) {
        // "--port: 1 required TEXT missing"
        what = subject + " needs a value";
    } else if (dynamic_cast<const CLI::ExtrasError*>(&error)) {
        const size_t colon = what.find(": ");
        const std::string words = colon == std::string::npos ? what : what.substr(colon + 2);
        const bool oneWord = words.find(' ') == std::string::npos;
        what = (oneWord ? "unexpected argument " : "unexpected arguments ") + Quoted(words);
    } else if (dynamic_cast<const CLI::RequiredError*>(&error) &&
               StartsWith(what, "A subcommand")) {
        const std::vector<std::string> rest = app_.remaining();
        if (rest.empty())
            what = "which command? '" + tool_ + " --help' lists them";
        else if (StartsWith(rest.front(), "-"))
            what = "unexpected argument '" + rest.front() + "'";
        else
            what = "unknown command '" + rest.front() + "'; '" + tool_ + " --help' lists them";
    } else if (dynamic_cast<const CLI::RequiredError*>(&error) && EndsWith(what, " is required")) {
        what = what.substr(0, what.size() - std::string(" is required").size()) + " is missing";
    }
    return tool_ + path + ": " + what + "\n";
}

CLI::Option* AddNumber(CLI::App& app, const std::string& name, int& target, int least, int most,
                       const std::string& complaint, const std::string& description) {
    CLI::Option* option = app.add_option_function<std::string>(
        name,
        [&target, least, most, complaint, name](const std::string& text) {
            const std::optional<long> value = common::ReadWholeNumber(text, least, most);
            if (!value) throw CLI::ValidationError(name, complaint);
            target = static_cast<int>(*value);
        },
        description);
    return option->type_name("N");
}

CLI::Validator OneOf(std::vector<std::string> values) {
    std::string listed;
    for (size_t i = 0; i < values.size(); ++i)
        listed += (i == 0 ? "" : i + 1 == values.size() ? " or " : ", ") + values[i];
    return CLI::Validator(
        [values, listed](std::string& text) -> std::string {
            for (const auto& v : values)
                if (text == v) return {};
            return "takes " + listed;
        },
        "");
}

}  // namespace cli
