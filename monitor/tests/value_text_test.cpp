#include "monitor/value_text.h"

#include <gtest/gtest.h>

#include "monitor_test_helpers.h"

using monitor::FormatValueText;
using monitor::VariableEntry;
using monitor::VariableType;
using monitor::testing::Data;
using monitor::testing::Variable;

namespace {
constexpr std::uint8_t kGeneration2 = 2;

std::string Value(const VariableEntry& entry, int k, const std::string& data,
                  std::uint8_t generation = kGeneration2) {
    return FormatValueText(entry, k, generation, data);
}
}  // namespace

TEST(BitString, BitZeroComesFirstWithABlankAfterTheFourth) {
    EXPECT_EQ(monitor::FormatBitString(0x01), "1000 0000");
    EXPECT_EQ(monitor::FormatBitString(0x80), "0000 0001");
    EXPECT_EQ(monitor::FormatBitString(0xA5), "1010 0101");
    for (VariableType type :
         {VariableType::kBitf, VariableType::kBwort, VariableType::kKsm, VariableType::kExtbf})
        EXPECT_EQ(Value(Variable(type, 0x100, 2, 2), 1, Data({0x00, 0x0F})), "1111 0000");
}

TEST(BitValue, ShiftsByTheBitNumberAndBy8LessForSixteenBitHighBits) {
    VariableEntry bit = Variable(VariableType::kBit, 0x100, 2, 2);
    bit.bit = 3;
    EXPECT_EQ(Value(bit, 0, Data({0x08, 0x00})), "    1    ");
    EXPECT_EQ(Value(bit, 1, Data({0x08, 0x00})), "    0    ");
    bit.bit = 11;
    bit.sub = 16;
    EXPECT_EQ(Value(bit, 0, Data({0x08})), "    1    ");
    // Without sub 16 the shift stays 11: past the byte, always 0.
    bit.sub = 8;
    EXPECT_EQ(Value(bit, 0, Data({0xFF})), "    0    ");
}

TEST(BitValue, ExtbShiftsHighBitNumbersWhateverSubHolds) {
    VariableEntry extb = Variable(VariableType::kExtb);
    extb.bit = 9;
    extb.sub = 1;
    EXPECT_EQ(Value(extb, 0, Data({0x02})), "    1    ");
    extb.bit = 16;  // shift 8: past the byte
    EXPECT_EQ(Value(extb, 0, Data({0xFF})), "    0    ");
}

TEST(ByteValue, DecimalAndHexadecimal) {
    EXPECT_EQ(Value(Variable(VariableType::kByte), 0, Data({255})), "   255   ");
    EXPECT_EQ(Value(Variable(VariableType::kByte), 0, Data({7})), "     7   ");
    EXPECT_EQ(Value(Variable(VariableType::kByteh), 0, Data({0x0A})), "   0A    ");
}

TEST(WordValue, SignedDecimalAndHexadecimal) {
    EXPECT_EQ(Value(Variable(VariableType::kWort, 0x100, 2), 0, Data({0xFF, 0xFF})), "      -1 ");
    EXPECT_EQ(Value(Variable(VariableType::kWorth, 0x100, 2), 0, Data({0xFF, 0xFF})), "  FFFFH");
    EXPECT_EQ(Value(Variable(VariableType::kExtea, 0x100, 2), 0, Data({0x39, 0x30})), "   12345 ");
    // Element k starts at byte 2k, low byte first.
    EXPECT_EQ(Value(Variable(VariableType::kWorth, 0x100, 4, 2), 1, Data({0, 0, 0x34, 0x12})),
              "  1234H");
}

TEST(DoubleWordValue, DirectRangeAndExponentForm) {
    VariableEntry dword = Variable(VariableType::kDwort, 0x100, 4);
    auto text = [&](std::int32_t v) {
        auto u = static_cast<std::uint32_t>(v);
        return Value(
            dword, 0,
            Data({int(u & 0xFF), int((u >> 8) & 0xFF), int((u >> 16) & 0xFF), int(u >> 24)}));
    };
    EXPECT_EQ(text(99999999), " 99999999");
    EXPECT_EQ(text(-9999999), " -9999999");
    EXPECT_EQ(text(100000000), "1000000e2");
    EXPECT_EQ(text(123456789), "1234567e2");
    EXPECT_EQ(text(-10000000), "-100000e2");
    EXPECT_EQ(text(-12345678), "-123456e2");
    EXPECT_EQ(text(INT32_MIN), "-214748e4");
    EXPECT_EQ(Value(Variable(VariableType::kDwrth, 0x100, 4), 0, Data({0xEF, 0xBE, 0xAD, 0xDE})),
              "DEADBEEFH");
}

TEST(CharacterValue, NineCharactersWithZeroAndControlBytesReplaced) {
    VariableEntry text = Variable(VariableType::kBytea, 0x100, 12, 2);
    std::string data = "AB" + Data({0x00, 0x07}) + "CDEFGHIJ";
    EXPECT_EQ(Value(text, 0, data), "AB\xED?CDEFG");
    EXPECT_EQ(Value(text, 1, data), "B\xED?CDEFGH");
}

TEST(CharacterValue, EndsWhereTheReceivedBytesEnd) {
    // Four bytes received: no made-up zero bytes behind them; the text stays right-aligned.
    VariableEntry text = Variable(VariableType::kBytea, 0x100, 4);
    EXPECT_EQ(Value(text, 0, "ABCD"), "     ABCD");
    EXPECT_EQ(Value(text, 0, ""), "         ");
}

TEST(IndexedValue, IndexZeroShowsTheWordOtherIndicesTheIndex) {
    VariableEntry indexed = Variable(VariableType::kIndmw, 0x100, 4, 2);
    EXPECT_EQ(Value(indexed, 0, Data({0xFE, 0xFF, 0, 0})), "      -2 ");
    EXPECT_EQ(Value(indexed, 1, Data({0xFE, 0xFF, 0, 0})), "      -2 ");
    EXPECT_EQ(Value(indexed, 0, Data({0xFE, 0xFF, 0x2C, 0x01})), "[300]    ");
    indexed.type = VariableType::kIndxw;
    indexed.length = 3;  // a byte index
    EXPECT_EQ(Value(indexed, 0, Data({1, 0, 5, 0x77})), "[5]      ");
}

TEST(IndexedValue, OldPlcsCannotReadThemAndShortVariablesHaveIndexZero) {
    VariableEntry indexed = Variable(VariableType::kIndmw, 0x100, 4);
    EXPECT_EQ(Value(indexed, 0, Data({1, 0, 1, 0}), 1), "XXXXXXXXX");
    // Two bytes only: no index word behind them.
    indexed.length = 2;
    EXPECT_EQ(Value(indexed, 0, Data({5, 0})), "       5 ");
}

TEST(EmptyValue, LeerAndIlloShowNothingAndAddressZeroShowsXs) {
    EXPECT_EQ(Value(Variable(VariableType::kLeer, 0), 0, ""), "");
    EXPECT_EQ(Value(Variable(VariableType::kLeer, 0x100), 0, ""), "");
    EXPECT_EQ(Value(Variable(VariableType::kIllo), 0, Data({1})), "");
    EXPECT_EQ(Value(Variable(VariableType::kByte, 0), 0, ""), "XXXXXXXXX");
    EXPECT_EQ(Value(Variable(VariableType::kIllo, 0), 0, ""), "XXXXXXXXX");
}

TEST(MissingBytes, ElementsBeyondTheBytesCountAsZero) {
    EXPECT_EQ(Value(Variable(VariableType::kWort, 0x100, 3, 2), 1, Data({1, 2, 3})), "       3 ");
    EXPECT_EQ(Value(Variable(VariableType::kByte, 0x100, 1, 3), 2, Data({9})), "     0   ");
}
