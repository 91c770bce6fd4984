// The setup commands formed from setup records: the all-zero record, field widths that
// grow, the flag bit order, the "@TE" numbering, the "@TL" interleave and the lengths.
#include "setup_tool/core/setup_commands.h"

#include <gtest/gtest.h>

namespace {
struct RecordBytes {
    std::string bytes = std::string(1315, '\0');
    void set(std::size_t at, int value) { bytes[at] = static_cast<char>(value); }
    void setWord(std::size_t at, int value) {
        bytes[at] = static_cast<char>(value & 0xFF);
        bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
    }
    setup::SetupRecord record() const { return setup::SetupRecord::FromBytes(bytes); }
};
}  // namespace

TEST(SetupCommands, AllZeroRecord) {
    setup::SetupRecord zero = setup::SetupRecord::FromBytes("");
    EXPECT_EQ(setup::TbCommand(zero), "@TB00000-10-7" + std::string(14, '0'));
    EXPECT_EQ(setup::TnCommand(zero), "@TN" + std::string(60, '0'));
    EXPECT_EQ(setup::TcCommand(zero, 0), "@TC09/000");
    EXPECT_EQ(setup::TcCommand(zero, 7), "@TC16/000");
    EXPECT_EQ(setup::TdCommand(zero), "@TD" + std::string(24, '0'));
    EXPECT_EQ(setup::TlCommand(zero),
              "@TL" + std::string(22, '0') + "        " + std::string(54, '0'));
    EXPECT_FALSE(setup::TableSwitchOn(zero));
    EXPECT_EQ(setup::ParameterCommands(zero).size(), 76u);
}

TEST(SetupCommands, OnlyTheFirst1315BytesCount) {
    RecordBytes r;
    std::string longer = r.bytes + std::string(100, '\x07');
    EXPECT_EQ(setup::TnCommand(setup::SetupRecord::FromBytes(longer)),
              "@TN" + std::string(60, '0'));
}

TEST(SetupCommands, FieldsGrowInsteadOfBeingClipped) {
    RecordBytes r;
    r.set(34, 5);
    r.set(0, 12);
    r.set(29, 1);
    r.set(31, 7);
    std::string tb = setup::TbCommand(r.record());
    EXPECT_EQ(tb, "@TB12000000000050000000000");
    EXPECT_EQ(tb.size(), 26u);
    r.set(4, 255);
    EXPECT_EQ(setup::TdCommand(r.record()), "@TD255" + std::string(23, '0'));
}

TEST(SetupCommands, SignedWordsKeepTheirSign) {
    RecordBytes r;
    r.setWord(39, -12);
    r.setWord(49, -5);
    r.setWord(49 + 2 * 63, 1234);
    setup::SetupRecord rec = r.record();
    EXPECT_EQ(setup::TbCommand(rec), "@TB00000-10-7" + std::string(10, '0') + "-012");
    EXPECT_EQ(setup::TeCommand(rec, 0, 0), "@TE001/-005");
    EXPECT_EQ(setup::TeCommand(rec, 7, 7), "@TE218/1234");
}

TEST(SetupCommands, TeNumbersRunInGroupsOfThirty) {
    std::vector<std::string> numbers;
    for (const auto& c : setup::ParameterCommands(setup::SetupRecord::FromBytes("")))
        if (c.rfind("@TE", 0) == 0) numbers.push_back(c.substr(3, 3));
    ASSERT_EQ(numbers.size(), 64u);
    EXPECT_EQ(numbers[0], "001");
    EXPECT_EQ(numbers[7], "008");
    EXPECT_EQ(numbers[8], "031");
    EXPECT_EQ(numbers[16], "061");
    EXPECT_EQ(numbers[63], "218");
}

TEST(SetupCommands, FlagBitsGoOutAsBit2Bit0Bit1Bit3) {
    EXPECT_EQ(setup::FlagDigits(0x05), "1100");
    EXPECT_EQ(setup::FlagDigits(0x08), "0001");
    EXPECT_EQ(setup::FlagDigits(0x02), "0010");
    EXPECT_EQ(setup::FlagDigits(0xF0), "0000");
    setup::TableEntry e;
    e.flags = 0x05;
    e.value = 7;
    e.number = 300;
    EXPECT_EQ(setup::TableCommand('H', 27, e), "@TH27/1100/07/0300");
}

TEST(SetupCommands, TlInterleavesItsSecondGroup) {
    RecordBytes r;
    r.setWord(977, 1);
    r.setWord(979, 65535);
    r.set(981, 1);
    r.set(982, 2);
    r.set(983, 3);
    r.setWord(984, 4);
    r.set(986, 5);
    r.setWord(987, 6);
    r.setWord(989, 7);
    for (int i = 991; i < 1000; ++i) r.set(i, 9);  // never read
    r.setWord(1000, 11111);
    r.setWord(1002, 22222);
    r.set(1004, 1);
    r.set(1005, 2);
    r.set(1006, 3);
    r.set(1007, 4);
    r.setWord(1008, 81);
    r.setWord(1010, 82);
    r.set(1012, 83);
    r.setWord(1023, 91);
    r.setWord(1025, 92);
    r.set(1027, 93);
    std::string tl = setup::TlCommand(r.record());
    EXPECT_EQ(tl, "@TL0001655351230004500067        111111322222240081008283" +
                      std::string(20, '0') +
                      "00910092"
                      "93");
    EXPECT_EQ(tl.size(), 87u);
}

TEST(SetupCommands, TableSwitchAndTableOrder) {
    RecordBytes r;
    r.setWord(1039, 1);
    r.set(177, 0x01);               // F01
    r.set(422 + 5 * 48, 0x04);      // G49
    r.set(667 + 5 * 26 + 1, 99);    // H27 value
    r.set(822 + 5 * 30 + 2, 0x10);  // I31 number 16
    setup::SetupRecord rec = r.record();
    EXPECT_TRUE(setup::TableSwitchOn(rec));
    std::vector<std::string> t = setup::TableCommands(rec);
    ASSERT_EQ(t.size(), 49u + 49u + 27u + 31u + 21u);
    EXPECT_EQ(t[0], "@TF01/0100/00/0000");
    EXPECT_EQ(t[49 + 48], "@TG49/1000/00/0000");
    EXPECT_EQ(t[98 + 26], "@TH27/0000/99/0000");
    EXPECT_EQ(t[125 + 30], "@TI31/0000/00/0016");
    EXPECT_EQ(t[156], "@TM01/000");
    EXPECT_EQ(t.back(), "@TM21/000");
    // One digit of "@TN" alone also switches the tables on.
    RecordBytes digit;
    digit.set(1038, 1);
    EXPECT_TRUE(setup::TableSwitchOn(digit.record()));
}

TEST(SetupCommands, LengthsWhenEveryValueFits) {
    RecordBytes r;
    for (std::size_t i = 0; i < 1315; ++i) r.set(i, 1);
    r.set(31, 8);
    r.set(990, 0);  // "@TL" field 9 is a word written "%1d"
    setup::SetupRecord rec = r.record();
    // Words of 0x0101 = 257 fit every word field.
    EXPECT_EQ(setup::TbCommand(rec).size(), 25u);
    EXPECT_EQ(setup::TcCommand(rec, 3).size(), 9u);
    EXPECT_EQ(setup::TdCommand(rec).size(), 27u);
    EXPECT_EQ(setup::TeCommand(rec, 2, 3).size(), 11u);
    EXPECT_EQ(setup::TableCommand('F', 1, rec.entry(177, 0)).size(), 18u);
    EXPECT_EQ(setup::TlCommand(rec).size(), 87u);
    EXPECT_EQ(setup::TmCommand(21).size(), 9u);
    EXPECT_EQ(setup::TnCommand(rec).size(), 63u);
}
