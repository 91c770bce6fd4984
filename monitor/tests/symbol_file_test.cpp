#include "monitor/symbol_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/recording_frontend.h"
#include "monitor_test_helpers.h"

using monitor::ParseSymbolLine;
using monitor::SymbolLine;
using monitor::VariableType;
using monitor::testing::LineFields;
using monitor::testing::SymbolFileLine;

namespace {

SymbolLine::Kind KindOf(const std::string& line) {
    return ParseSymbolLine(line).kind;
}

struct SymbolFile : ::testing::Test {
    std::filesystem::path path =
        std::filesystem::path(::testing::TempDir()) /
        (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".ot");
    common::RecordingFrontend frontend;
    monitor::VariableList list;

    void Write(const std::string& text) {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    void TearDown() override { std::filesystem::remove(path); }
};

}  // namespace

TEST(SymbolLineSelection, LinesWithoutADigitInTheFirstColumnsAreSkipped) {
    EXPECT_EQ(KindOf("1 BIT"), SymbolLine::Kind::kSkipped);  // five characters
    EXPECT_EQ(KindOf("1   BIT "), SymbolLine::Kind::kVariable);
    EXPECT_EQ(KindOf("  7 BIT "), SymbolLine::Kind::kVariable);
    EXPECT_EQ(KindOf("    BIT       E"), SymbolLine::Kind::kSkipped);
    EXPECT_EQ(KindOf("Nr  Typ   Operand"), SymbolLine::Kind::kSkipped);
    EXPECT_EQ(KindOf(" x1 BIT "), SymbolLine::Kind::kSkipped);
    EXPECT_EQ(KindOf(""), SymbolLine::Kind::kSkipped);
}

TEST(SymbolLineSelection, TheKeywordMustStartInColumn4AndMatchExactly) {
    EXPECT_EQ(KindOf("1    BYTE  E"), SymbolLine::Kind::kUnknownType);
    SymbolLine found = ParseSymbolLine("1   BYTE  E");
    ASSERT_EQ(found.kind, SymbolLine::Kind::kVariable);
    EXPECT_EQ(found.entry.type, VariableType::kByte);
    EXPECT_EQ(KindOf("1   byte  E"), SymbolLine::Kind::kUnknownType);
    EXPECT_EQ(ParseSymbolLine("1   BYTEA").entry.type, VariableType::kBytea);
    EXPECT_EQ(ParseSymbolLine("1   ILLO ").entry.type, VariableType::kIllo);
    // A digit line with nothing in the type columns names no type.
    EXPECT_EQ(KindOf("12        "), SymbolLine::Kind::kUnknownType);
}

TEST(SymbolLineFields, EveryFieldIsCutFromItsColumns) {
    LineFields f;
    f.type = "BWORT";
    f.operand = "MW";
    f.symbol = "Motor1";
    f.number = "10";
    f.lastNumber = "12";
    f.column = "30";
    f.sub = "16";
    f.bit = "3";
    f.cells = "4";
    f.address = "1A0";
    f.length = "4";
    SymbolLine line = ParseSymbolLine(SymbolFileLine(f));
    ASSERT_EQ(line.kind, SymbolLine::Kind::kVariable);
    const monitor::VariableEntry& e = line.entry;
    EXPECT_EQ(e.type, VariableType::kBwort);
    EXPECT_EQ(e.operand, "MW");
    EXPECT_EQ(e.symbol, "Motor1");
    EXPECT_EQ(e.number, 10);
    EXPECT_EQ(e.lastNumber, 12);
    EXPECT_EQ(e.column, 30);
    EXPECT_EQ(e.sub, 16);
    EXPECT_EQ(e.bit, 3);
    EXPECT_EQ(e.cells, 4);
    EXPECT_EQ(e.address, 0x1A0);
    EXPECT_EQ(e.length, 4);
}

TEST(SymbolLineFields, NumbersAreRightAlignedAndFieldsPastTheLineAreEmpty) {
    // Right-aligned numbers with leading blanks, as files are usually written.
    LineFields f;
    f.type = "WORT";
    f.number = " 100";
    f.lastNumber = "  101";
    f.column = " 0";
    f.sub = "  2";
    f.bit = "  0";
    f.cells = "   2";
    f.address = "00A0";
    f.length = "  4";
    std::string line = SymbolFileLine(f);
    SymbolLine parsed = ParseSymbolLine(line);
    ASSERT_EQ(parsed.kind, SymbolLine::Kind::kVariable);
    EXPECT_EQ(parsed.entry.number, 100);
    EXPECT_EQ(parsed.entry.lastNumber, 101);
    EXPECT_EQ(parsed.entry.column, 0);
    EXPECT_EQ(parsed.entry.sub, 2);
    EXPECT_EQ(parsed.entry.cells, 2);
    EXPECT_EQ(parsed.entry.address, 160);
    EXPECT_EQ(parsed.entry.length, 4);

    LineFields leer;
    leer.type = "LEER";
    leer.symbol = "Lamp";
    SymbolLine shortLine = ParseSymbolLine(SymbolFileLine(leer));
    ASSERT_EQ(shortLine.kind, SymbolLine::Kind::kVariable);
    EXPECT_EQ(shortLine.entry.symbol, "Lamp");
    EXPECT_EQ(shortLine.entry.cells, 0);
    EXPECT_EQ(shortLine.entry.address, 0);
}

TEST(SymbolLineFields, ConversionsTakeSignPrefixAndStopAtTheFirstOtherCharacter) {
    EXPECT_EQ(monitor::ParseHexadecimal("00A0"), 160u);
    EXPECT_EQ(monitor::ParseHexadecimal("0x1f"), 31u);
    EXPECT_EQ(monitor::ParseHexadecimal(" +0X10"), 16u);
    EXPECT_EQ(monitor::ParseHexadecimal("-10") & 0xFFFF, 0xFFF0u);
    EXPECT_EQ(monitor::ParseHexadecimal("zz"), 0u);
    EXPECT_EQ(monitor::ParseDecimal("12ab"), 12u);
    EXPECT_EQ(monitor::ParseDecimal(" -1") & 0xFF, 0xFFu);
    EXPECT_EQ(monitor::ParseDecimal("x5"), 0u);
    EXPECT_EQ(monitor::ParseDecimal(""), 0u);
    // Kept in the field's width: 300 cells are 44.
    LineFields f;
    f.type = "BYTE";
    f.cells = "300";
    EXPECT_EQ(ParseSymbolLine(SymbolFileLine(f)).entry.cells, 44);
}

TEST_F(SymbolFile, ReadsVariableLinesInOrderSkippingTheRest) {
    LineFields a;
    a.type = "BYTE";
    a.address = "100";
    LineFields b;
    b.type = "LEER";
    b.symbol = "Pump";
    Write("Symbols of the demo\r\n" + SymbolFileLine(a) + "\r\n\r\n" + SymbolFileLine(b) + "\n");
    monitor::SymbolFileResult result = monitor::LoadSymbolFile(path, list, frontend);
    EXPECT_EQ(result.status, monitor::SymbolFileResult::Status::kLoaded);
    ASSERT_EQ(result.count, 2u);
    EXPECT_EQ(list[0].type, VariableType::kByte);
    EXPECT_EQ(list[0].address, 0x100);
    EXPECT_EQ(list[1].symbol, "Pump");
    EXPECT_TRUE(frontend.calls().empty());
}

TEST_F(SymbolFile, AnUnreadableFileGivesAnEmptyListWithoutAMessage) {
    list.append(monitor::testing::Variable(VariableType::kByte));
    monitor::SymbolFileResult result = monitor::LoadSymbolFile(path / "missing.ot", list, frontend);
    EXPECT_EQ(result.status, monitor::SymbolFileResult::Status::kLoaded);
    EXPECT_EQ(result.count, 0u);
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(frontend.calls().empty());
}

TEST_F(SymbolFile, AnUnknownKeywordStopsWithTypNotFound) {
    LineFields good;
    good.type = "BIT";
    LineFields bad;
    bad.type = "FLOAT";
    Write(SymbolFileLine(good) + "\n" + SymbolFileLine(bad) + "\n" + SymbolFileLine(good) + "\n");
    monitor::SymbolFileResult result = monitor::LoadSymbolFile(path, list, frontend);
    EXPECT_EQ(result.status, monitor::SymbolFileResult::Status::kTypeNotFound);
    EXPECT_EQ(frontend.texts("message"), std::vector<std::string>{"Typ not found"});
}

TEST_F(SymbolFile, MoreThan256VariablesKeepTheFirst256AndSaySo) {
    std::string text;
    for (int i = 0; i < 300; ++i) {
        LineFields f;
        f.type = "BYTE";
        f.number = std::to_string(i);
        text += SymbolFileLine(f) + "\n";
    }
    Write(text);
    monitor::SymbolFileResult result = monitor::LoadSymbolFile(path, list, frontend);
    EXPECT_EQ(result.count, 256u);
    EXPECT_TRUE(result.truncated);
    EXPECT_EQ(list[255].number, 255);
    EXPECT_EQ(frontend.texts("message"), std::vector<std::string>{monitor::kTooManyVariablesText});

    // Exactly 256 is no reason for a message.
    text.clear();
    for (int i = 0; i < 256; ++i) text += "1   BYTE\n";
    Write(text);
    frontend.clear();
    result = monitor::LoadSymbolFile(path, list, frontend);
    EXPECT_EQ(result.count, 256u);
    EXPECT_FALSE(result.truncated);
    EXPECT_TRUE(frontend.calls().empty());
}
