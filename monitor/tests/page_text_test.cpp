#include "monitor/page_text.h"

#include <gtest/gtest.h>

#include "common/file_helpers.h"

using monitor::DisplayPage;

TEST(PageText, SevenBandsOfThreeRowsInTenCharacterColumns) {
    DisplayPage page;
    page.usedCells = 10;
    page.cells[0] = {"Counter  ", "MW10", "    1234 "};
    page.cells[1] = {"", "E0.1", "    1    "};
    page.cells[9] = {"Text     ", "T1", "AB\xED?CDEFG"};
    std::vector<std::string> lines = common::SplitTextLines(monitor::PageAsText(page));
    ASSERT_EQ(lines.size(), 7u * 3 + 6);
    EXPECT_EQ(lines[0], "Counter");
    EXPECT_EQ(lines[1], "MW10       E0.1");
    EXPECT_EQ(lines[2], "    1234       1");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "           Text");
    EXPECT_EQ(lines[6], "           AB\xC3\xAD?CDEFG");
    for (size_t i = 8; i < lines.size(); ++i) EXPECT_EQ(lines[i], "") << i;
}

TEST(PageText, CellsPastTheUsedOnesAreBlankAndLongTextsAreCut) {
    DisplayPage page;
    page.cells[0] = {"stale", "stale", "stale"};
    EXPECT_EQ(monitor::PageAsText(page), std::string(7 * 3 + 6, '\n'));
    page.usedCells = 8;
    page.cells[7].value = "12345678901";
    std::vector<std::string> lines = common::SplitTextLines(monitor::PageAsText(page));
    EXPECT_EQ(lines[2].substr(0, 5), "stale");
    EXPECT_EQ(lines[2].size(), 7u * 11 + 10);
    EXPECT_EQ(monitor::PageSeparatorLine(), std::string(87, '-') + "\n");
}
