// skelligctl's command line: what is a usage error, and the clock values checked before
// anything is sent.
#include "setup_tool/skelligctl/options.h"

#include <gtest/gtest.h>

#include "setup_tool/skelligctl/console_time_date.h"

namespace {
std::optional<skelligctl::Options> Parse(std::vector<std::string> args,
                                         std::string* error = nullptr) {
    std::string e;
    auto options = skelligctl::ParseOptions(args, e);
    if (error) *error = e;
    return options;
}
const setup::LocalTime kNow{2024, 3, 7, 9, 5, 3};
}  // namespace

TEST(SkelligctlOptions, SendWithEverything) {
    auto o = Parse({"--port", "/tmp/link", "--trace", "send", "a.txt", "--time", "23:59:00",
                    "--date", "31.02.2024", "--dst", "winter"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->command, skelligctl::Command::Send);
    EXPECT_EQ(o->port, "/tmp/link");
    EXPECT_TRUE(o->trace);
    EXPECT_EQ(o->textFile, "a.txt");
    setup::ClockEntry e = skelligctl::ApplyClockChoice(o->clock, setup::PrefilledEntry(kNow));
    EXPECT_EQ(e.hours, "23");
    EXPECT_EQ(e.day, "31");
    EXPECT_EQ(e.year, "2024");
    EXPECT_EQ(e.rule, setup::kWinterTime);
    std::string error;
    EXPECT_TRUE(skelligctl::ClockChoiceIsValid(o->clock, kNow, error));
}

TEST(SkelligctlOptions, DefaultsToThePcTimeAndSummer) {
    auto o = Parse({"send", "a.txt"});
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->port.empty());
    EXPECT_FALSE(o->clock.skip);
    setup::ClockEntry e = skelligctl::ApplyClockChoice(o->clock, setup::PrefilledEntry(kNow));
    EXPECT_EQ(e.hours, "09");
    EXPECT_EQ(e.day, "7");
    EXPECT_EQ(e.rule, setup::kSummerTime);
}

TEST(SkelligctlOptions, UsageErrors) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {},
             {"send"},
             {"send", "a.txt", "b.txt"},
             {"send", "a.txt", "--time", "9:05"},
             {"send", "a.txt", "--time", "09:05:x3"},
             {"send", "a.txt", "--date", "7/3/2024"},
             {"send", "a.txt", "--dst", "autumn"},
             {"send", "a.txt", "--no-clock", "--time", "09:00:00"},
             {"send", "a.txt", "--time"},
             {"--port"},
             {"--bogus", "send", "a.txt"},
             {"receive", "a.txt"},
             {"ports", "extra"}}) {
        std::string error;
        EXPECT_FALSE(Parse(args, &error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
}

TEST(SkelligctlOptions, OutOfRangeValuesAreRefusedBeforeSending) {
    std::string error;
    auto o = Parse({"send", "a.txt", "--time", "24:00:00"});
    ASSERT_TRUE(o);
    EXPECT_FALSE(skelligctl::ClockChoiceIsValid(o->clock, kNow, error));
    EXPECT_NE(error.find("invalid time or date"), std::string::npos);
    o = Parse({"send", "a.txt", "--date", "07.03.24"});
    ASSERT_TRUE(o);
    EXPECT_FALSE(skelligctl::ClockChoiceIsValid(o->clock, kNow, error));
    o = Parse({"send", "a.txt", "--no-clock"});
    ASSERT_TRUE(o);
    EXPECT_TRUE(skelligctl::ClockChoiceIsValid(o->clock, kNow, error));
}

TEST(ConsoleTimeDate, AnswersOnceThenCancels) {
    std::FILE* sink = std::tmpfile();
    skelligctl::ClockChoice choice;
    choice.time = std::vector<std::string>{"10", "20", "30"};
    skelligctl::ConsoleTimeDate dialog(choice, sink);
    auto first = dialog.show(setup::PrefilledEntry(kNow));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->hours, "10");
    EXPECT_EQ(first->month, "03");
    EXPECT_FALSE(dialog.show(setup::PrefilledEntry(kNow)));
    skelligctl::ClockChoice skip;
    skip.skip = true;
    EXPECT_FALSE(skelligctl::ConsoleTimeDate(skip, sink).show(setup::PrefilledEntry(kNow)));
    std::fclose(sink);
}
