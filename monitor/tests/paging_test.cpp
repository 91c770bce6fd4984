#include "monitor/paging.h"

#include <gtest/gtest.h>

#include "monitor_test_helpers.h"

using monitor::PagePosition;
using monitor::PagingKey;

namespace {
monitor::VariableList ListOfSize(int n) {
    monitor::VariableList list;
    for (int i = 0; i < n; ++i)
        list.append(monitor::testing::Variable(monitor::VariableType::kByte));
    return list;
}
}  // namespace

TEST(Paging, KeysStepByVariablesAndStopAtZero) {
    PagePosition position;
    position.Press(PagingKey::kPageDown);
    EXPECT_EQ(position.TopIndex(), 56);
    EXPECT_EQ(position.PreviousTopIndex(), 0);
    position.Press(PagingKey::kCursorDown);
    EXPECT_EQ(position.TopIndex(), 64);
    position.Press(PagingKey::kCursorUp);
    EXPECT_EQ(position.TopIndex(), 56);
    EXPECT_EQ(position.PreviousTopIndex(), 64);
    position.Reset();
    position.Press(PagingKey::kCursorUp);
    EXPECT_EQ(position.TopIndex(), 0);
}

TEST(Paging, PageUpFrom20GoesTo0) {
    PagePosition position;
    // 20 is no multiple of the steps; a page cut short at variable 20 leads there.
    position.SetCut(20);
    position.Press(PagingKey::kPageDown);
    ASSERT_EQ(position.TopIndex(), 20);
    position.Press(PagingKey::kPageUp);
    EXPECT_EQ(position.TopIndex(), 0);
    EXPECT_EQ(position.PreviousTopIndex(), 20);
}

TEST(Paging, PageDownPastTheEndShowsTheSamePageAgain) {
    monitor::VariableList list = ListOfSize(30);
    PagePosition position;
    position.Press(PagingKey::kCursorDown);
    position.StepBackPastEnd(list);
    EXPECT_EQ(position.TopIndex(), 8);
    position.Press(PagingKey::kPageDown);
    position.StepBackPastEnd(list);
    EXPECT_EQ(position.TopIndex(), 8);
    // A one-variable list stays at its variable.
    monitor::VariableList one = ListOfSize(1);
    position.Reset();
    position.Press(PagingKey::kPageDown);
    position.StepBackPastEnd(one);
    EXPECT_EQ(position.TopIndex(), 0);
}

TEST(Paging, TwoForwardKeysInOneCycleLeaveAnIndexWithoutVariable) {
    monitor::VariableList list = ListOfSize(10);
    PagePosition position;
    position.Press(PagingKey::kPageDown);
    position.Press(PagingKey::kPageDown);
    position.StepBackPastEnd(list);
    EXPECT_EQ(position.TopIndex(), 56);
    EXPECT_FALSE(list.holds(position.TopIndex()));  // the page shows empty; Page Up recovers
    position.Press(PagingKey::kPageUp);
    position.StepBackPastEnd(list);
    EXPECT_EQ(position.TopIndex(), 0);
}

TEST(Paging, ForwardKeysStopAtTheFirstVariableACutPageLeftOut) {
    PagePosition position;
    position.SetCut(3);
    position.Press(PagingKey::kCursorDown);
    EXPECT_EQ(position.TopIndex(), 3);
    position.SetCut(40);
    position.Press(PagingKey::kCursorDown);
    EXPECT_EQ(position.TopIndex(), 11);
    position.SetCut(std::nullopt);
    position.Press(PagingKey::kPageDown);
    EXPECT_EQ(position.TopIndex(), 67);
}

TEST(Paging, KeyNames) {
    EXPECT_EQ(monitor::ParsePagingKey("pgdn"), PagingKey::kPageDown);
    EXPECT_EQ(monitor::ParsePagingKey("up"), PagingKey::kCursorUp);
    EXPECT_FALSE(monitor::ParsePagingKey("left"));
    EXPECT_EQ(monitor::PagingKeyName(PagingKey::kPageUp), "pgup");
}
