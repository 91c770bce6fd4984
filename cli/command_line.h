#pragma once
// The command-line shape every tool of the suite shares: global options, commands with a
// one-line description each, --help on every level, --version, and usage errors that name
// the offending argument and end the program with status 2.
#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// The suite's version, as the build knows it ("4.0").
const char* SuiteVersion();

class CommandLine {
  public:
    // tool: the program's name ("quarnctl"); description: one line on what it does.
    CommandLine(std::string tool, const std::string& description);

    CLI::App& app() { return app_; }
    const std::string& tool() const { return tool_; }

    // A command with its one-line description; the caller declares its options and
    // arguments on the returned App. With commands, one of them must be given.
    CLI::App* AddCommand(const std::string& name, const std::string& description);

    // Parses the command line. Empty: go on and run what was asked. A value: the exit
    // status to end with, once --help or --version has been printed on standard output
    // (0) or a usage error on standard error (2).
    // The program's own arguments, in UTF-8 on every platform (cli/arguments.h).
    std::optional<int> Parse(int argc, const char* const* argv);
    std::optional<int> Parse(const std::vector<std::string>& args);
    // As Parse, with what it would print given back instead: out for --help and --version,
    // err for a usage error (one line, ending in a newline).
    std::optional<int> Parse(const std::vector<std::string>& args, std::string& out,
                             std::string& err);

    // The message for a usage error: "tool[ command]: what is wrong with which argument".
    std::string UsageMessage(const CLI::ParseError& error) const;

  private:
    std::optional<int> Finish(const CLI::ParseError& error, std::ostream& out, std::ostream& err);

    std::string tool_;
    CLI::App app_;
    bool hasCommands_ = false;
};

// A whole decimal number from least to most, for counts and indexes. CLI11's own number
// conversion reads "010" as octal; a technician means ten. complaint: what the option
// takes, for the usage error ("takes a number of pages from 1").
CLI::Option* AddNumber(CLI::App& app, const std::string& name, int& target, int least, int most,
                       const std::string& complaint, const std::string& description);

// A value out of a fixed list, refused with "takes A, B or C" otherwise.
CLI::Validator OneOf(std::vector<std::string> values);

// The bash completion script for the tool: its commands, and the options of the tool and of
// each command; hidden options are left out.
std::string BashCompletion(const CLI::App& app, const std::string& tool);

}  // namespace cli
