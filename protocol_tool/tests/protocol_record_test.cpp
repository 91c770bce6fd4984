#include "protocol_tool/core/protocol_record.h"

#include <gtest/gtest.h>

using protocol::ParseHeaderLine;
using protocol::ReadRecords;

TEST(HeaderLine, FieldsAreTakenFromTheirColumns) {
    auto r = ParseHeaderLine("Coming    17    12.03.08    06:20:45  Q");
    EXPECT_EQ(r.status, "Coming");
    EXPECT_EQ(r.number, "17");
    EXPECT_EQ(r.date, "12.03.08");
    EXPECT_EQ(r.time, "06:20:45");
    // The columns between the fields are not read, whatever stands there.
    r = ParseHeaderLine("Going  X9999XXXX31.12.99XXXX23:59:59XXXX");
    EXPECT_EQ(r.status, "Going");
    EXPECT_EQ(r.number, "9999");
    EXPECT_EQ(r.date, "31.12.99");
    EXPECT_EQ(r.time, "23:59:59");
    // White space inside the number's columns goes at both ends, the status keeps leading
    // characters of its own column.
    r = ParseHeaderLine("On     \t 5 \t");
    EXPECT_EQ(r.status, "On");
    EXPECT_EQ(r.number, "5");
}

TEST(HeaderLine, AShortLineYieldsTheFieldsItReaches) {
    auto r = ParseHeaderLine("Coming    17    12.0");
    EXPECT_EQ(r.number, "17");
    EXPECT_EQ(r.date, "12.0");  // cut short
    EXPECT_EQ(r.time, "");      // starts beyond the end
    r = ParseHeaderLine("Off");
    EXPECT_EQ(r.status, "Off");
    EXPECT_EQ(r.number, "");
    EXPECT_EQ(r.date, "");
    r = ParseHeaderLine("Going     17    12.03.08    06:2");
    EXPECT_EQ(r.time, "06:2");
}

TEST(HeaderLine, RecognisedByTheStatusWordAtItsStartOnly) {
    EXPECT_TRUE(protocol::IsHeaderLine("Coming"));
    EXPECT_TRUE(protocol::IsHeaderLine("Going 1"));
    EXPECT_TRUE(protocol::IsHeaderLine("Off"));
    EXPECT_TRUE(protocol::IsHeaderLine("Online"));  // begins with "On"
    EXPECT_FALSE(protocol::IsHeaderLine(" Coming"));
    EXPECT_FALSE(protocol::IsHeaderLine("Alarm Coming"));
    EXPECT_FALSE(protocol::IsHeaderLine("coming"));
    EXPECT_FALSE(protocol::IsHeaderLine("O"));
    EXPECT_FALSE(protocol::IsHeaderLine(""));
}

TEST(Records, SkipLinesOutsideRecordsAndTakeTextLinesAsTheyCome) {
    const std::string file =
        "PROTOKOLL\r\n"
        "\r\n"
        "Coming     1    12.03.08    06:15:02\r\n"
        "Going is a text line here\r\n"  // lines 2 to 4 are never tested for a status word
        "  second  \r\n"
        "On the closing line\r\n"
        "junk between records\n"
        "Off        0    12.03.08    18:00:00\n"
        "\n"
        "\n"
        "\n";
    auto records = ReadRecords(file);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].status, "Coming");
    EXPECT_EQ(records[0].line1, "Going is a text line here");
    EXPECT_EQ(records[0].line2, "  second  ");  // whole line, trimmed only by the spreadsheet
    EXPECT_EQ(records[1].status, "Off");
    EXPECT_EQ(records[1].line1, "");
}

TEST(Records, AnUnfinishedLastRecordYieldsNoRecord) {
    const std::string complete = "On 1\r\na\r\nb\r\nc\r\n";
    EXPECT_EQ(ReadRecords(complete).size(), 1u);
    EXPECT_EQ(ReadRecords(complete + "Coming 2\r\nx\r\ny\r\n").size(), 1u);
    EXPECT_EQ(ReadRecords(complete + "Coming 2\r\nx\r\ny\r\nlast without line end").size(), 2u);
    EXPECT_TRUE(ReadRecords("").empty());
}
