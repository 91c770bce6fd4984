// The cell walk and the read list of a page.
#include <gtest/gtest.h>

#include "monitor/cell_walk.h"
#include "monitor/page_read_plan.h"
#include "monitor_test_helpers.h"

using monitor::BuildReadList;
using monitor::PageReadPlan;
using monitor::VariableEntry;
using monitor::VariableList;
using monitor::VariableType;
using monitor::WalkCells;
using monitor::testing::Variable;

namespace {

VariableEntry AtColumn(int column, int cells = 1) {
    VariableEntry entry = Variable(VariableType::kByte, 0x100, static_cast<std::uint16_t>(cells),
                                   static_cast<std::uint8_t>(cells));
    entry.column = static_cast<std::uint8_t>(column);
    return entry;
}

VariableList ListOf(std::initializer_list<VariableEntry> entries) {
    VariableList list;
    for (const VariableEntry& e : entries) list.append(e);
    return list;
}

std::vector<int> CellNumbers(const monitor::PageCells& page) {
    std::vector<int> cells;
    for (const auto& c : page.cells) cells.push_back(c.cell);
    return cells;
}

const monitor::PlcReadSettings kNewPlc{2, 0x0400, 0x3000};
const monitor::PlcReadSettings kOldPlc{1, 0x0400, 0x3000};

}  // namespace

TEST(CellWalk, ColumnsBeyondTheLastCellContinueTheBand) {
    VariableList list = ListOf({AtColumn(0), AtColumn(10), AtColumn(20)});
    monitor::PageCells page = WalkCells(list, 0, list.size());
    EXPECT_EQ(CellNumbers(page), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(page.usedCells, 3);
}

TEST(CellWalk, AColumnNotBeyondStartsANewBand) {
    VariableList list = ListOf({AtColumn(0), AtColumn(10), AtColumn(0)});
    monitor::PageCells page = WalkCells(list, 0, list.size());
    EXPECT_EQ(CellNumbers(page), (std::vector<int>{0, 1, 8}));
    EXPECT_EQ(page.usedCells, 9);
    // A two-cell variable at column 0 ends at column 10: column 10 starts a new band too.
    list = ListOf({AtColumn(0, 2), AtColumn(10), AtColumn(21)});
    EXPECT_EQ(CellNumbers(WalkCells(list, 0, list.size())), (std::vector<int>{0, 1, 8, 9}));
}

TEST(CellWalk, AFullBandContinuesWithoutAGap) {
    VariableList list = ListOf({AtColumn(0, 8), AtColumn(0)});
    monitor::PageCells page = WalkCells(list, 0, list.size());
    EXPECT_EQ(page.cells.back().cell, 8);
    EXPECT_EQ(page.usedCells, 9);
}

TEST(CellWalk, EndsAt56CellsEvenInsideAVariable) {
    VariableList list = ListOf({AtColumn(0, 5), AtColumn(50, 60)});
    monitor::PageCells page = WalkCells(list, 0, list.size());
    EXPECT_EQ(page.cells.size(), 56u);
    EXPECT_EQ(page.cells.back().variable, 1u);
    EXPECT_EQ(page.cells.back().element, 50);
    EXPECT_EQ(page.usedCells, 56);
    // A new band that would start at cell 56 ends the walk.
    list = ListOf({AtColumn(0, 50), AtColumn(0, 20)});
    page = WalkCells(list, 0, list.size());
    EXPECT_EQ(page.cells.size(), 50u);
    EXPECT_EQ(page.usedCells, 56);
    // A variable with zero cells takes no cell and breaks nothing.
    list = ListOf({AtColumn(0, 0), AtColumn(0)});
    EXPECT_EQ(CellNumbers(WalkCells(list, 0, list.size())), (std::vector<int>{0}));
}

TEST(ReadList, ReadVariablesGoBackToBackInListOrder) {
    VariableEntry leer = Variable(VariableType::kLeer, 0x300, 4);
    VariableEntry noAddress = Variable(VariableType::kByte, 0, 1);
    VariableList list = ListOf({Variable(VariableType::kByte, 0x100, 2, 2), leer, noAddress,
                                Variable(VariableType::kWort, 0x200, 4, 2)});
    PageReadPlan plan = BuildReadList(list, 0, kNewPlc);
    EXPECT_EQ(plan.command, 0x0D);
    ASSERT_EQ(plan.readList.size(), 2u);
    EXPECT_EQ(plan.readList[0].address, 0x100);
    EXPECT_EQ(plan.readList[1].address, 0x200);
    EXPECT_EQ(plan.readList[1].segment, 0);
    EXPECT_EQ(plan.slotOf(3)->offset, 2u);
    EXPECT_EQ(plan.slotOf(3)->length, 4u);
    EXPECT_FALSE(plan.slotOf(1));
    EXPECT_FALSE(plan.slotOf(2));
    EXPECT_EQ(plan.end, 4u);
    EXPECT_EQ(plan.totalBytes(), 6u);
    EXPECT_EQ(BuildReadList(list, 0, kOldPlc).command, 0x03);
}

TEST(ReadList, SegmentTypesMakeTheCommand0x0EOnNewPlcsOnly) {
    VariableList list =
        ListOf({Variable(VariableType::kByte), Variable(VariableType::kIndmw, 0x10, 4),
                Variable(VariableType::kIndxw, 0x20, 4), Variable(VariableType::kExtea, 0x30, 2),
                Variable(VariableType::kExtbf), Variable(VariableType::kExtb)});
    PageReadPlan plan = BuildReadList(list, 0, kNewPlc);
    EXPECT_EQ(plan.command, 0x0E);
    std::vector<std::uint16_t> segments;
    for (const auto& item : plan.readList) segments.push_back(item.segment);
    EXPECT_EQ(segments, (std::vector<std::uint16_t>{0, 0x0400, 0x3000, 0xA000, 0xA000, 0xA000}));

    PageReadPlan old = BuildReadList(list, 0, kOldPlc);
    EXPECT_EQ(old.command, 0x03);
    for (const auto& item : old.readList) EXPECT_EQ(item.segment, 0);
}

TEST(ReadList, StopsOnceTheCellsReach56) {
    VariableList list;
    for (int i = 0; i < 60; ++i) list.append(Variable(VariableType::kByte, 0x100));
    PageReadPlan plan = BuildReadList(list, 0, kNewPlc);
    EXPECT_EQ(plan.end, 56u);
    EXPECT_FALSE(plan.cutShort);
    plan = BuildReadList(list, 10, kNewPlc);
    EXPECT_EQ(plan.first, 10u);
    EXPECT_EQ(plan.end, 60u);
}

TEST(ReadList, APageEndsBeforeTheVariableWhoseBytesDoNotFit) {
    VariableList list;
    for (int i = 0; i < 3; ++i) list.append(Variable(VariableType::kBytea, 0x100, 300));
    PageReadPlan plan = BuildReadList(list, 0, kNewPlc);
    EXPECT_TRUE(plan.cutShort);
    EXPECT_EQ(plan.end, 2u);
    EXPECT_EQ(plan.totalBytes(), 600u);
    // The next page starts with it.
    plan = BuildReadList(list, 2, kNewPlc);
    EXPECT_EQ(plan.totalBytes(), 300u);
    EXPECT_FALSE(plan.cutShort);
}

TEST(ReadList, AFirstVariableLongerThanTheBufferIsReadUpToIt) {
    VariableList list =
        ListOf({Variable(VariableType::kBytea, 0x100, 1000), Variable(VariableType::kByte)});
    PageReadPlan plan = BuildReadList(list, 0, kNewPlc);
    ASSERT_EQ(plan.readList.size(), 1u);
    EXPECT_EQ(plan.readList[0].length, 640);
    EXPECT_EQ(plan.end, 1u);
    EXPECT_TRUE(plan.cutShort);
}

TEST(ReadList, APageEndsBeforeTheRecordThatDoesNotFit) {
    VariableList list;
    for (int i = 0; i < 70; ++i) {
        VariableEntry bit = Variable(VariableType::kBit, static_cast<std::uint16_t>(0x100 + 2 * i));
        bit.cells = 0;  // cells do not stop the walk
        list.append(bit);
    }
    PageReadPlan plan = BuildReadList(list, 0, kNewPlc);
    EXPECT_EQ(plan.readList.size(), 63u);
    EXPECT_EQ(plan.end, 63u);
    EXPECT_TRUE(plan.cutShort);
}

TEST(ReadList, AnIndexPastTheListGivesAnEmptyPage) {
    VariableList list = ListOf({Variable(VariableType::kByte)});
    PageReadPlan plan = BuildReadList(list, 5, kNewPlc);
    EXPECT_TRUE(plan.readList.empty());
    EXPECT_EQ(plan.first, plan.end);
    EXPECT_TRUE(WalkCells(list, plan.first, plan.end).cells.empty());
    EXPECT_TRUE(BuildReadList(VariableList(), 0, kNewPlc).readList.empty());
}
