#include "protocol_tool/core/spreadsheet_text.h"

#include <gtest/gtest.h>

#include "common/file_helpers.h"
#include "sample_lines.h"

namespace {
const std::string kHeader = "STATUS\tMELDUNG\tDATUM\tUHRZEIT\tZEILE1\tZEILE2\r\n";

std::string Record(const std::string& line1, const std::string& line2) {
    return "Coming    12    01.02.08    10:11:12\r\n" + line1 + "\r\n" + line2 + "\r\n---\r\n";
}
std::string RowWith(const std::string& zeile1, const std::string& zeile2) {
    return "Coming\t12\t01.02.08\t10:11:12\t" + zeile1 + "\t" + zeile2 + "\r\n";
}
}  // namespace

TEST(SpreadsheetText, AnEmptyProtocolGivesTheHeaderAlone) {
    EXPECT_EQ(protocol::SpreadsheetText(""), kHeader);
    EXPECT_EQ(protocol::SpreadsheetText("no record here\r\n"), kHeader);
}

TEST(SpreadsheetText, TextLinesLoseTrailingWhiteSpaceAndThe0x19OfTheSecondLine) {
    // clang-format off
    EXPECT_EQ(protocol::SpreadsheetText(Record("  lead \t", "a\x19" "b\x19\x19")),
              kHeader + RowWith("  lead", "a b"));
    // clang-format on
    // 0x19 in the first line is data.
    EXPECT_EQ(protocol::SpreadsheetText(Record("a\x19", "\x19")), kHeader + RowWith("a\x19", ""));
    // A tab inside a line is written as it is and shifts the following columns.
    EXPECT_EQ(protocol::SpreadsheetText(Record("x\ty", "z")), kHeader + RowWith("x\ty", "z"));
}

TEST(SpreadsheetText, ShortHeaderLinesGiveShortOrEmptyFields) {
    EXPECT_EQ(protocol::SpreadsheetText("Going   7\na\nb\nc\n"),
              kHeader + "Going\t7\t\t\ta\tb\r\n");
}

TEST(SpreadsheetText, TheSampleProtocolGivesItsRows) {
    // The sample file holds the lines the tests know.
    EXPECT_EQ(common::ReadWholeFile(protocol_test::SamplePath()), protocol_test::SampleBytes());
    // clang-format off
    const std::string expected = kHeader +
        "On\t0\t12.03.08\t06:00:01\tNetz ein\t\r\n"
        "Coming\t1\t12.03.08\t06:15:02\tPumpe 1 Stoerung\tMotorschutz ausgeloest\r\n"
        "Coming\t17\t12.03.08\t06:20:45\t\xb2" "AB\xb8" "EH\xb6" "E \xd2\xc6\xd5\xd0" "oe\t"
        "  \xb0" "a\xd0" " 2 \xc9" "yc\xd3\xde\xdf\xbe\xb6" "K\r\n"
        "Going\t1\t12.03.08\t06:47:40\tPumpe 1 Stoerung\tMotorschutz ausgeloest\r\n"
        "Coming\t23\t12.03.08\t07:02:13\tTuer\toffen\tLuefter  Halle 2\r\n"
        "Going\t17\t12.03.08\t07:30:00\tVentil {V3}\\Stufe 2\t Druck normal\r\n"
        "Off\t0\t12.03.08\t18:00:00\tNetz aus\t\r\n"
        "On\t0\t13.03.08\t05:59:58\tNetz ein\t\r\n"
        "Going\t23\t13.03.08\t06:05:31\tTuer\toffen\tLuefter  Halle 2\r\n"
        "Off\t0\t13.03.08\t17:45:12\tNetz aus\tWartung\r\n";
    // clang-format on
    EXPECT_EQ(protocol::SpreadsheetText(protocol_test::SampleBytes()), expected);
}
