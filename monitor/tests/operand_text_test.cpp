#include "monitor/operand_text.h"

#include <gtest/gtest.h>

#include "monitor_test_helpers.h"

using monitor::FormatOperandText;
using monitor::FormatSymbolText;
using monitor::VariableEntry;
using monitor::VariableType;
using monitor::testing::Variable;

namespace {
VariableEntry Operand(VariableType type, const std::string& operand, int number, int cells = 1) {
    VariableEntry entry = Variable(type, 0x100, 1, static_cast<std::uint8_t>(cells));
    entry.operand = operand;
    entry.number = static_cast<std::uint16_t>(number);
    return entry;
}

// The operand texts of all cells, with the running bit offset kept as the page does.
std::vector<std::string> AllCells(const VariableEntry& entry) {
    std::vector<std::string> texts;
    std::uint8_t offset = 0;
    for (int k = 0; k < entry.cells; ++k) texts.push_back(FormatOperandText(entry, k, offset));
    return texts;
}
using Texts = std::vector<std::string>;
}  // namespace

TEST(BitOperand, NumberZeroSubAndPlainForms) {
    VariableEntry bit = Operand(VariableType::kBit, "E", 0, 2);
    bit.bit = 4;
    bit.sub = 8;
    EXPECT_EQ(AllCells(bit), (Texts{"E", "E"}));
    bit.number = 3;
    EXPECT_EQ(AllCells(bit), (Texts{"E3.5", "E3.5"}));
    bit.sub = 0;
    EXPECT_EQ(AllCells(bit), (Texts{"E3", "E3"}));
}

TEST(BitRunOperand, BwortWithSub16AlternatesLowAndHighByte) {
    VariableEntry bwort = Operand(VariableType::kBwort, "MW", 10, 4);
    bwort.sub = 16;
    EXPECT_EQ(AllCells(bwort), (Texts{"MW10.1-", "MW10.9-", "MW11.1-", "MW11.9-"}));
}

TEST(BitRunOperand, BitfAddsTheBitNumberOnEveryCell) {
    VariableEntry bitf = Operand(VariableType::kBitf, "M", 4, 3);
    bitf.sub = 16;
    bitf.bit = 2;
    EXPECT_EQ(AllCells(bitf), (Texts{"M4.3-", "M4.5-", "M5.7-"}));
    bitf.sub = 8;
    EXPECT_EQ(AllCells(bitf), (Texts{"M4.1-", "M5.1-", "M6.1-"}));
    bitf.sub = 0;
    EXPECT_EQ(AllCells(bitf), (Texts{"M4-", "M12-", "M20-"}));
}

TEST(WordOperand, SubDecidesBetweenNumbersAndSubIndices) {
    VariableEntry word = Operand(VariableType::kWort, "MW", 20, 3);
    EXPECT_EQ(AllCells(word), (Texts{"MW20", "MW21", "MW22"}));
    word.sub = 2;
    word.lastNumber = 20;
    EXPECT_EQ(AllCells(word), (Texts{"MW20.2", "MW20.3", "MW20.4"}));
    word.lastNumber = 21;
    EXPECT_EQ(AllCells(word), (Texts{"MW20.1", "MW20.2", "MW21.1"}));
    for (VariableType type : {VariableType::kDwort, VariableType::kWorth, VariableType::kDwrth}) {
        word.type = type;
        EXPECT_EQ(AllCells(word)[2], "MW21.1");
    }
}

TEST(OtherOperands, ByteCharacterIndexedAndExtensionForms) {
    EXPECT_EQ(AllCells(Operand(VariableType::kByte, "EB", 7, 2)), (Texts{"EB7.1", "EB8.1"}));
    EXPECT_EQ(AllCells(Operand(VariableType::kByteh, "AB", 1, 1)), (Texts{"AB1.1"}));
    EXPECT_EQ(AllCells(Operand(VariableType::kKsm, "K", 5, 2)), (Texts{"K5", "K5"}));
    EXPECT_EQ(AllCells(Operand(VariableType::kBytea, "T", 1, 2)), (Texts{"T1", "T2"}));
    EXPECT_EQ(AllCells(Operand(VariableType::kIndmw, "MW", 30, 2)), (Texts{"[MW30]", "[MW31]"}));
    VariableEntry ext = Operand(VariableType::kExtea, "X", 2, 2);
    ext.sub = 3;
    ext.bit = 6;
    EXPECT_EQ(AllCells(ext), (Texts{"X2.3", "X2.4"}));
    ext.type = VariableType::kExtbf;
    EXPECT_EQ(AllCells(ext), (Texts{"X2.3.7-", "X2.4.7-"}));
    ext.type = VariableType::kExtb;
    EXPECT_EQ(AllCells(ext), (Texts{"X2.3.7", "X2.4.7"}));
    EXPECT_EQ(AllCells(Operand(VariableType::kLeer, "Q", 1)), (Texts{""}));
    EXPECT_EQ(AllCells(Operand(VariableType::kIllo, "Q", 1)), (Texts{""}));
}

TEST(OtherOperands, TextsAreCutToTenCharacters) {
    EXPECT_EQ(AllCells(Operand(VariableType::kByte, "ABCDEFGHIJ", 12345))[0], "ABCDEFGHIJ");
    EXPECT_EQ(AllCells(Operand(VariableType::kWort, "OPER", 65535, 2))[1], "OPER65536");
}

TEST(SymbolText, PaddedToNineAndBracketedForIndexedTypes) {
    VariableEntry entry = Variable(VariableType::kByte);
    EXPECT_EQ(FormatSymbolText(entry), "");
    entry.symbol = "Pump";
    EXPECT_EQ(FormatSymbolText(entry), "Pump     ");
    entry.type = VariableType::kIndxw;
    EXPECT_EQ(FormatSymbolText(entry), "[Pump ]");
    entry.symbol = "Conveyor1";
    EXPECT_EQ(FormatSymbolText(entry), "[Conveyor");
}
