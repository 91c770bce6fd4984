#include "protocol_tool/core/cyrillic_rtf.h"

#include <gtest/gtest.h>

#include "sample_lines.h"

namespace {
const std::string kHeader =
    R"({\rtf1\ansi\ansicpg1252\deff0\deflang1031\deflangfe1031\deftab708{\fonttbl{\f0\fswiss\fprq2\fcharset204{\*\fname Arial;}Arial CYR;}}{\*\generator Vantor 1.00;}\viewkind4\uc1\pard\f0\fs36)"
    "\r\n";
const std::string kPar = "\\par\r\n";
}  // namespace

TEST(CyrillicRtf, EmptyProtocolAndEmptyLines) {
    EXPECT_EQ(protocol::CyrillicRtf(""), kHeader + "}");
    EXPECT_EQ(protocol::CyrillicRtf("\r\n\n"), kHeader + kPar + kPar + "}");
}

TEST(CyrillicRtf, DisplayCodesBecomeWindows1251Letters) {
    EXPECT_EQ(protocol::CyrillicRtf("\x41\xB0\xD9\n"), kHeader + "\x41\xC1\xFF" + kPar + "}");
    // Below the table its first entry, above it its last; ASCII stays.
    EXPECT_EQ(protocol::CyrillicRtf("\x80\xAF\xE0\xFF\x7F\x01\r\n"),
              kHeader + "\xC1\xC1\xDF\xDF\x7F\x01" + kPar + "}");
    // The letters kept twice and the no-break space.
    EXPECT_EQ(protocol::CyrillicRtf("\xBF\xDB\xB5\xDD\xD8\xDF\xDE\n"),
              kHeader + "\xDC\xDC\xDD\xDD\xDF\xDF\xA0" + kPar + "}");
}

TEST(CyrillicRtf, BracesAndBackslashesAreNotEscaped) {
    EXPECT_EQ(protocol::CyrillicRtf("{a}\\b\n"), kHeader + "{a}\\b" + kPar + "}");
}

TEST(CyrillicRtf, NoCharacterIsLostAtALastLineOrALongLine) {
    EXPECT_EQ(protocol::CyrillicRtf("ab\ncd"), kHeader + "ab" + kPar + "cd" + kPar + "}");
    const std::string longLine(3000, 'x');
    EXPECT_EQ(protocol::CyrillicRtf(longLine + "\r\n"), kHeader + longLine + kPar + "}");
}

TEST(CyrillicRtf, TheSampleProtocolGivesItsDocument) {
    std::string expected = kHeader;
    // clang-format off
    for (const std::string& line : protocol_test::SampleLines()) {
        if (line.rfind("\xb2", 0) == 0) {
            expected += "\xC4" "AB\xCB" "EH\xC8" "E \xED\xE8\xE7\xEA" "oe";  // ДАВЛЕНИЕ низкoe
        } else if (line.rfind("  \xb0", 0) == 0) {
            expected += "  \xC1" "a\xEA" " 2 \xEF" "yc\xF2\xA0\xDF\xD9\xC8" "K";  // Бaк 2 пycт ЯЩИK
        } else {
            expected += line;  // ASCII and control bytes as they are
        }
        expected += kPar;
    }
    // clang-format on
    expected += "}";
    EXPECT_EQ(protocol::CyrillicRtf(protocol_test::SampleBytes()), expected);
}
