#include <gtest/gtest.h>

#include "protocol_tool/vantorctl/options.h"

using vantorctl::Command;
using vantorctl::ParseOptions;

namespace {
vantorctl::Options Parsed(std::vector<std::string> args) {
    auto result = ParseOptions(args);
    EXPECT_TRUE(result.options.has_value()) << result.error;
    return result.options.value_or(vantorctl::Options{});
}
bool Refused(std::vector<std::string> args) {
    return !ParseOptions(args).options.has_value();
}
}  // namespace

TEST(VantorctlOptions, GetProtocolTakesAFileAndEitherUpToOrNew) {
    auto o = Parsed({"--port", "/tmp/display", "--trace", "get-protocol", "may.pro", "--up-to",
                     "9999", "--cyrillic"});
    EXPECT_EQ(o.command, Command::GetProtocol);
    EXPECT_EQ(o.port, "/tmp/display");
    EXPECT_TRUE(o.trace);
    EXPECT_EQ(o.file, "may.pro");
    EXPECT_EQ(o.upTo, 9999);
    EXPECT_TRUE(o.cyrillic);
    o = Parsed({"get-protocol", "--new", "may.pro"});
    EXPECT_TRUE(o.newEntries);
    EXPECT_FALSE(o.upTo.has_value());
    EXPECT_EQ(Parsed({"get-protocol", "may.pro", "--up-to", "1"}).upTo, 1);

    EXPECT_TRUE(Refused({"get-protocol", "may.pro"}));
    EXPECT_TRUE(Refused({"get-protocol", "may.pro", "--new", "--up-to", "5"}));
    EXPECT_TRUE(Refused({"get-protocol", "--new"}));
    for (const char* n : {"0", "10000", "-1", "abc", "12x", ""})
        EXPECT_TRUE(Refused({"get-protocol", "may.pro", "--up-to", n})) << n;
    EXPECT_TRUE(Refused({"get-protocol", "may.pro", "--up-to"}));
}

TEST(VantorctlOptions, TheOtherCommands) {
    EXPECT_EQ(Parsed({"get-statistics", "s.sta"}).command, Command::GetStatistics);
    auto o = Parsed({"clear-protocol", "--yes"});
    EXPECT_EQ(o.command, Command::ClearProtocol);
    EXPECT_TRUE(o.yes);
    EXPECT_EQ(Parsed({"--yes", "clear-statistics"}).command, Command::ClearStatistics);
    o = Parsed({"convert", "may.pro", "--cyrillic"});
    EXPECT_EQ(o.command, Command::Convert);
    EXPECT_TRUE(o.cyrillic);
    EXPECT_TRUE(Parsed({"get-protocol", "--help"}).help);
    EXPECT_TRUE(Parsed({"--help"}).help);

    EXPECT_TRUE(Refused({}));
    EXPECT_TRUE(Refused({"fetch"}));
    EXPECT_TRUE(Refused({"convert"}));
    EXPECT_TRUE(Refused({"convert", "a.pro", "b.pro"}));
    EXPECT_TRUE(Refused({"clear-protocol", "x"}));
    EXPECT_TRUE(Refused({"get-statistics", "s.sta", "--new"}));
    EXPECT_TRUE(Refused({"clear-protocol", "--cyrillic"}));
    EXPECT_TRUE(Refused({"--port"}));
    EXPECT_TRUE(Refused({"--baud", "9600", "ports"}));
}
