// The shared command-line layer: what a usage error says and returns, --help and --version
// on every level, numbers as a technician writes them, and the completion script.
#include "cli/command_line.h"

#include <gtest/gtest.h>

namespace {

struct Tool {
    cli::CommandLine line{"tool", "A tool."};
    std::string port;
    int cycles = 0;
    std::string file;
    bool ran = false;

    Tool() {
        line.app().add_option("--port", port, "The port");
        line.app().add_option("--secret", port)->group("");
        line.app().add_option("--speed", port)->check(cli::OneOf({"a", "b", "c"}));
        CLI::App* watch = line.AddCommand("watch", "Watch it");
        watch->add_option("FILE", file, "A file")->required();
        cli::AddNumber(*watch, "--cycles", cycles, 1, 100, "takes a count from 1", "Pages");
        watch->callback([this] { ran = true; });
        line.AddCommand("reset", "Reset it");
    }
    // The exit status (-1: go on) and what went to stderr.
    std::pair<int, std::string> Parse(const std::vector<std::string>& args) {
        testing::internal::CaptureStderr();
        std::optional<int> status = line.Parse(args);
        return {status.value_or(-1), testing::internal::GetCapturedStderr()};
    }
};

TEST(CommandLine, UsageErrorsNameTheArgumentAndReturnTwo) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--port"}, "tool: --port needs a value\n"},
        {{"frobnicate"}, "tool: unknown command 'frobnicate'; 'tool --help' lists them\n"},
        {{}, "tool: which command? 'tool --help' lists them\n"},
        {{"--bogus", "reset"}, "tool reset: unexpected argument '--bogus'\n"},
        {{"watch", "a.ot", "b.ot"}, "tool watch: unexpected argument 'b.ot'\n"},
        {{"watch"}, "tool watch: FILE is missing\n"},
        {{"watch", "a.ot", "--cycles", "0"}, "tool watch: --cycles: takes a count from 1\n"},
        {{"watch", "a.ot", "--cycles", "1x"}, "tool watch: --cycles: takes a count from 1\n"},
        {{"--speed", "d", "reset"}, "tool: --speed: takes a, b or c\n"},
    };
    for (const auto& [args, message] : cases) {
        Tool tool;
        auto [status, err] = tool.Parse(args);
        EXPECT_EQ(status, 2) << testing::PrintToString(args);
        EXPECT_EQ(err, message) << testing::PrintToString(args);
    }
}

TEST(CommandLine, NumbersAreDecimalAndGlobalsMayFollowTheCommand) {
    Tool tool;
    EXPECT_EQ(tool.Parse({"watch", "a.ot", "--cycles", "010", "--port", "p"}).first, -1);
    EXPECT_EQ(tool.cycles, 10);
    EXPECT_EQ(tool.port, "p");
    EXPECT_TRUE(tool.ran);
}

TEST(CommandLine, HelpAndVersionOnEveryLevel) {
    Tool tool;
    testing::internal::CaptureStdout();
    EXPECT_EQ(tool.line.Parse({"--version"}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              std::string("tool ") + cli::SuiteVersion() + "\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(tool.line.Parse({"--help"}), 0);
    const std::string help = testing::internal::GetCapturedStdout();
    EXPECT_NE(help.find("Watch it"), std::string::npos) << help;
    EXPECT_NE(help.find("Reset it"), std::string::npos) << help;
    EXPECT_EQ(help.find("--secret"), std::string::npos) << help;
    Tool again;
    testing::internal::CaptureStdout();
    EXPECT_EQ(again.line.Parse({"watch", "--help"}), 0);
    const std::string watchHelp = testing::internal::GetCapturedStdout();
    EXPECT_NE(watchHelp.find("--cycles"), std::string::npos) << watchHelp;
    EXPECT_FALSE(again.ran);
}

TEST(CommandLine, CompletionOffersCommandsAndOptionsButNotHiddenOnes) {
    Tool tool;
    const std::string script = cli::BashCompletion(tool.line.app(), "tool");
    EXPECT_NE(script.find("\"watch reset\""), std::string::npos) << script;
    EXPECT_NE(script.find("watch) options=\"-h --help --cycles --version --port --speed\""),
              std::string::npos)
        << script;
    EXPECT_EQ(script.find("--secret"), std::string::npos) << script;
    EXPECT_NE(script.find("local options=\"--version -h --help --port --speed\"\n"),
              std::string::npos)
        << script;
    EXPECT_NE(script.find("complete -o default -F _tool_complete tool"), std::string::npos);
}

}  // namespace
