// The clock step's values: the prefilled texts, the C-style conversion, the ranges and
// the three commands.
#include "setup_tool/core/clock_setting.h"

#include <gtest/gtest.h>

namespace {
setup::ClockEntry Entry(std::string h, std::string mi, std::string s, std::string d, std::string mo,
                        std::string y, int rule = 0) {
    return {h, mi, s, d, mo, y, rule};
}
}  // namespace

TEST(ClockSetting, PrefilledTextsAndCommandsOfTheWorkedExample) {
    setup::ClockEntry e = setup::PrefilledEntry({2024, 3, 7, 9, 5, 3});
    EXPECT_EQ(e.hours, "09");
    EXPECT_EQ(e.minutes, "05");
    EXPECT_EQ(e.seconds, "03");
    EXPECT_EQ(e.day, "7");
    EXPECT_EQ(e.month, "03");
    EXPECT_EQ(e.year, "2024");
    EXPECT_EQ(e.rule, setup::kSummerTime);
    e.rule = setup::kWinterTime;
    auto values = setup::CheckedClock(e);
    ASSERT_TRUE(values);
    auto commands = setup::ClockCommands(*values);
    EXPECT_EQ(commands[0], "@U09:05:03\r");
    EXPECT_EQ(commands[1], "@UW\r");
    EXPECT_EQ(commands[2], "@D07.03.24\r");
}

TEST(ClockSetting, RuleCommands) {
    setup::ClockValues v;
    v.rule = 0;
    EXPECT_EQ(setup::ClockCommands(v)[1], "@US\r");
    v.rule = 2;
    EXPECT_EQ(setup::ClockCommands(v)[1], "@UZ\r");
    v.rule = -1;
    EXPECT_EQ(setup::ClockCommands(v)[1], "@UZ\r");
}

TEST(ClockSetting, DecimalConversionAsTheCLibrary) {
    EXPECT_EQ(setup::DecimalValue("2024abc"), 2024);
    EXPECT_EQ(setup::DecimalValue(""), 0);
    EXPECT_EQ(setup::DecimalValue("  -3"), -3);
    EXPECT_EQ(setup::DecimalValue("+7"), 7);
    EXPECT_EQ(setup::DecimalValue("x12"), 0);
    EXPECT_EQ(setup::DecimalValue("1 2"), 1);
    EXPECT_GT(setup::DecimalValue("99999999999999999999"), 2099);
}

TEST(ClockSetting, Ranges) {
    EXPECT_FALSE(setup::CheckedClock(Entry("09", "05", "03", "7", "03", "24")));
    EXPECT_FALSE(setup::CheckedClock(Entry("24", "00", "00", "1", "1", "2024")));
    EXPECT_TRUE(setup::CheckedClock(Entry("23", "59", "59", "31", "12", "2099")));
    EXPECT_TRUE(setup::CheckedClock(Entry("0", "0", "0", "1", "1", "2000")));
    EXPECT_FALSE(setup::CheckedClock(Entry("0", "60", "0", "1", "1", "2000")));
    EXPECT_FALSE(setup::CheckedClock(Entry("0", "0", "60", "1", "1", "2000")));
    EXPECT_FALSE(setup::CheckedClock(Entry("0", "0", "0", "0", "1", "2000")));
    EXPECT_FALSE(setup::CheckedClock(Entry("0", "0", "0", "32", "1", "2000")));
    EXPECT_FALSE(setup::CheckedClock(Entry("0", "0", "0", "1", "13", "2000")));
    EXPECT_FALSE(setup::CheckedClock(Entry("0", "0", "0", "1", "1", "2100")));
    EXPECT_FALSE(setup::CheckedClock(Entry("-1", "0", "0", "1", "1", "2000")));
    // An empty field is 0; the day is not checked against the month.
    auto v = setup::CheckedClock(Entry("12", "", "00", "31", "02", "2024abc"));
    ASSERT_TRUE(v);
    EXPECT_EQ(v->minutes, 0);
    EXPECT_EQ(setup::ClockCommands(*v)[2], "@D31.02.24\r");
}
