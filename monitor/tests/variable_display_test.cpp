#include "monitor/variable_display.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "fake_monitor_plc.h"
#include "monitor_test_helpers.h"

using common::Millis;
using monitor::DisplayOutcome;
using monitor::DisplayPage;
using monitor::PagingKey;
using monitor::VariableDisplay;
using monitor::testing::Data;
using monitor::testing::LineFields;
using monitor::testing::SymbolFileLine;

namespace {

// Draws nothing: keeps the pages, presses the keys scripted for a cycle at its first pump,
// and closes in the cycle given.
struct RecordingViewer : monitor::VariableViewer {
    std::vector<DisplayPage> pages;
    std::map<int, std::vector<PagingKey>> keysInCycle;
    int closeInCycle = 1;
    int pumps = 0;
    std::vector<Millis> pumpTimes;
    const common::FakeClock* clock = nullptr;

    int cycle() const { return static_cast<int>(pages.size()) + 1; }
    void Pump(VariableDisplay& display) override {
        if (pumps++ % monitor::kPumpsPerCycle == 0)
            for (PagingKey key : keysInCycle[cycle()]) display.PressKey(key);
        if (clock) pumpTimes.push_back(clock->now());
        if (cycle() == closeInCycle) display.Close();
    }
    void Redraw(const DisplayPage& page, VariableDisplay&) override { pages.push_back(page); }
};

struct VariableDisplayLoop : plc::testing::PlcFixture {
    monitor::testing::FakeMonitorPlc plc;
    VariableDisplay display{programmer};
    RecordingViewer viewer;
    std::filesystem::path path =
        std::filesystem::path(::testing::TempDir()) /
        (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".ot");

    void SetUp() override {
        PlcFixture::SetUp();
        device.respond([this](const std::string& frame) { return plc.Answer(frame); });
        viewer.clock = &clock;
    }
    void TearDown() override { std::filesystem::remove(path); }

    void WriteSymbols(const std::vector<LineFields>& lines) {
        std::ofstream out(path, std::ios::binary);
        for (const LineFields& f : lines) out << SymbolFileLine(f) << "\r\n";
    }
    static LineFields Line(const std::string& type, const std::string& address,
                           const std::string& length, const std::string& cells = "1") {
        LineFields f;
        f.type = type;
        f.operand = "M";
        f.address = address;
        f.length = length;
        f.cells = cells;
        return f;
    }
    // The list read requests the loop sent (0x03, 0x0D, 0x0E), in order.
    std::vector<std::string> ListReads() const {
        std::vector<std::string> reads;
        for (const std::string& f : plc.frames) {
            int code = static_cast<unsigned char>(f[7]);
            if (code == 0x0D || code == 0x0E || code == 0x03) reads.push_back(f);
        }
        return reads;
    }
};

}  // namespace

TEST_F(VariableDisplayLoop, ReadsAPageWithOneListReadAndShowsItsTexts) {
    LineFields word = Line("WORT", "0200", "2");
    word.symbol = "Speed";
    word.column = "10";
    LineFields leer = Line("LEER", "0300", "4");
    leer.symbol = "Pump";
    leer.column = "0";
    LineFields noAddress = Line("BYTE", "0", "1");
    noAddress.column = "10";
    WriteSymbols({Line("BYTE", "0100", "1"), word, leer, noAddress});
    plc.Put(0x100, Data({42}));
    plc.Put(0x200, Data({0xFF, 0xFF}));

    EXPECT_EQ(display.RunVariableDisplay(path, viewer), DisplayOutcome::kClosed);
    ASSERT_EQ(viewer.pages.size(), 1u);
    const DisplayPage& page = viewer.pages[0];
    EXPECT_EQ(page.usedCells, 10);  // BYTE, WORT in band 0; LEER starts band 1, BYTE(0) follows
    EXPECT_EQ(page.cells[0].operand, "M0.1");
    EXPECT_EQ(page.cells[0].value, "    42   ");
    EXPECT_EQ(page.cells[1].symbol, "Speed    ");
    EXPECT_EQ(page.cells[1].value, "      -1 ");
    EXPECT_EQ(page.cells[8].symbol, "Pump     ");
    EXPECT_EQ(page.cells[8].operand, "");
    EXPECT_EQ(page.cells[8].value, "");
    EXPECT_EQ(page.cells[9].value, "XXXXXXXXX");

    // One 0x0D request for two ranges: the LEER and the address-0 variable are not read.
    std::vector<std::string> reads = ListReads();
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].substr(7, 8), Data({0x0D, 2, 0x00, 0x01, 1, 0x00, 0x02, 2}));
    EXPECT_EQ(frontend.texts("status"),
              (std::vector<std::string>{"Get SPS directory", "Show variables", ""}));
}

TEST_F(VariableDisplayLoop, FivePumpsOf10MsFollowEachReadAndValuesChangeBetweenCycles) {
    WriteSymbols({Line("BYTE", "0100", "1")});
    viewer.closeInCycle = 2;
    device.respond([this](const std::string& frame) {
        std::string answer = plc.Answer(frame);
        plc.memory[0x100]++;  // the PLC counts while it is watched
        return answer;
    });
    EXPECT_EQ(display.RunVariableDisplay(path, viewer), DisplayOutcome::kClosed);
    ASSERT_EQ(viewer.pages.size(), 2u);
    EXPECT_NE(viewer.pages[0].cells[0].value, viewer.pages[1].cells[0].value);
    EXPECT_EQ(viewer.pumps, 10);
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(viewer.pumpTimes[i] - viewer.pumpTimes[i - 1], Millis(10));
    EXPECT_FALSE(display.DisplayRunning());
}

TEST_F(VariableDisplayLoop, PagingKeysMoveTheNextPageAndPageDownPastTheEndStays) {
    std::vector<LineFields> lines;
    for (int i = 0; i < 70; ++i) {
        LineFields f = Line("BYTE", "0100", "1");
        f.number = std::to_string(i);
        f.column = std::to_string(10 * (i % 8));
        lines.push_back(f);
    }
    WriteSymbols(lines);
    viewer.keysInCycle[1] = {PagingKey::kCursorDown};
    viewer.keysInCycle[2] = {PagingKey::kPageDown};  // 64: holds a variable
    viewer.keysInCycle[3] = {PagingKey::kPageDown};  // 120: none, back to 64
    viewer.keysInCycle[4] = {PagingKey::kPageUp};
    viewer.closeInCycle = 5;
    ASSERT_EQ(display.RunVariableDisplay(path, viewer), DisplayOutcome::kClosed);
    ASSERT_EQ(viewer.pages.size(), 5u);
    std::vector<std::string> firstOperands;
    for (const DisplayPage& page : viewer.pages) firstOperands.push_back(page.cells[0].operand);
    EXPECT_EQ(firstOperands, (std::vector<std::string>{"M0.1", "M8.1", "M64.1", "M64.1", "M8.1"}));
    EXPECT_EQ(viewer.pages[2].usedCells, 6);
}

TEST_F(VariableDisplayLoop, ACommunicationFaultEndsTheLoopWithTheException) {
    WriteSymbols({Line("BYTE", "0100", "1")});
    viewer.closeInCycle = 100;
    plc.silentAfter = 6;  // identify, information block, two directory reads, two pages
    EXPECT_THROW(display.RunVariableDisplay(path, viewer), plc::CQuarnException);
    EXPECT_EQ(viewer.pages.size(), 2u);
    EXPECT_FALSE(display.DisplayRunning());
    EXPECT_EQ(frontend.status(), "Show variables");
}

TEST_F(VariableDisplayLoop, AnUnknownTypeReadsNothing) {
    WriteSymbols({Line("BYTE", "0100", "1"), Line("REAL", "0100", "4")});
    EXPECT_EQ(display.RunVariableDisplay(path, viewer), DisplayOutcome::kTypeNotFound);
    EXPECT_TRUE(viewer.pages.empty());
    EXPECT_TRUE(ListReads().empty());
    EXPECT_EQ(frontend.texts("message"), std::vector<std::string>{"Typ not found"});
}

TEST_F(VariableDisplayLoop, AnUnreadableSymbolFileShowsEmptyPagesUntilClosed) {
    viewer.keysInCycle[1] = {PagingKey::kPageDown, PagingKey::kCursorDown};
    viewer.closeInCycle = 3;
    EXPECT_EQ(display.RunVariableDisplay(path / "none.ot", viewer), DisplayOutcome::kClosed);
    ASSERT_EQ(viewer.pages.size(), 3u);
    for (const DisplayPage& page : viewer.pages) EXPECT_EQ(page.usedCells, 0);
    EXPECT_TRUE(ListReads().empty());
    EXPECT_EQ(frontend.status(), "");
}

TEST_F(VariableDisplayLoop, IndexedTypesUseThePlcsOwnSegmentWordsFromTheFirstDisplayOn) {
    plc.SetWord(54, 0x0500);
    LineFields indexed = Line("INDMW", "0010", "4");
    WriteSymbols({indexed});
    plc.Put(0x5000 + 0x10, Data({7, 0, 0, 0}));
    ASSERT_EQ(display.RunVariableDisplay(path, viewer), DisplayOutcome::kClosed);
    std::vector<std::string> reads = ListReads();
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].substr(7, 7), Data({0x0E, 1, 0x10, 0x00, 0x00, 0x05, 4}));
    EXPECT_EQ(viewer.pages[0].cells[0].value, "       7 ");
}

TEST_F(VariableDisplayLoop, AZeroLengthFirstVariableDoesNotKeepThePageFromBeingRead) {
    LineFields second = Line("BYTE", "0101", "1");
    second.column = "10";
    WriteSymbols({Line("BYTE", "0100", "0"), second});
    plc.Put(0x100, Data({1, 2}));
    ASSERT_EQ(display.RunVariableDisplay(path, viewer), DisplayOutcome::kClosed);
    EXPECT_EQ(ListReads().size(), 1u);
    EXPECT_EQ(viewer.pages[0].cells[1].value, "     2   ");
    EXPECT_EQ(viewer.pages[0].cells[0].value, "     2   ");  // the neighbour's byte
}

TEST_F(VariableDisplayLoop, ValuesReadOnIntoTheirNeighboursUpToTheBytesReceived) {
    // A WORTH of length 0 beside a WORT shows the WORT's bytes; a BYTEA of 4 bytes followed
    // by one byte reads five characters, and nothing where the page's bytes end.
    LineFields word = Line("WORT", "0200", "2");
    word.column = "10";
    LineFields text = Line("BYTEA", "0300", "4");
    text.column = "20";
    LineFields last = Line("BYTE", "0400", "1");
    last.column = "30";
    WriteSymbols({Line("WORTH", "0100", "0"), word, text, last});
    plc.Put(0x100, Data({0x12, 0x34}));
    plc.Put(0x200, Data({0xFF, 0xFF}));
    plc.Put(0x300, "ABCD");
    plc.Put(0x400, "E");
    ASSERT_EQ(display.RunVariableDisplay(path, viewer), DisplayOutcome::kClosed);
    const DisplayPage& page = viewer.pages[0];
    EXPECT_EQ(page.cells[0].value, "  FFFFH");
    EXPECT_EQ(page.cells[1].value, "      -1 ");
    EXPECT_EQ(page.cells[2].value, "    ABCDE");
}

TEST_F(VariableDisplayLoop, APageTooLargeForTheReceiveBufferContinuesOnTheNextPage) {
    WriteSymbols({Line("BYTEA", "0100", "300"), Line("BYTEA", "0400", "300", "1"),
                  Line("BYTEA", "0800", "300")});
    plc.Put(0x800, "third");
    viewer.keysInCycle[1] = {PagingKey::kPageDown};
    viewer.closeInCycle = 2;
    ASSERT_EQ(display.RunVariableDisplay(path, viewer), DisplayOutcome::kClosed);
    EXPECT_EQ(viewer.pages[0].usedCells, 9);  // two variables, the second in band 1
    EXPECT_EQ(viewer.pages[1].cells[0].value, "third\xED\xED\xED\xED");
}
