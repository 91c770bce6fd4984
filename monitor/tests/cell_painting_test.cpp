#include "monitor/cell_painting.h"

#include <gtest/gtest.h>

using monitor::DisplayPage;
using monitor::painting::PaintCell;
using monitor::painting::Rect;

TEST(CellPainting, CellsLieInBandsOf8WithTheirThreeRows) {
    DisplayPage page;
    page.usedCells = 10;
    page.cells[9] = {"Pump     ", "M3.1", "    1    "};
    auto cell = PaintCell(page, 9);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->frame, (Rect{90, 64, 170, 106}));
    EXPECT_FALSE(cell->frameOnly);
    ASSERT_TRUE(cell->symbolRow && cell->operandRow && cell->valueRow);
    EXPECT_EQ(cell->symbolRow->rect, (Rect{90, 64, 170, 78}));
    EXPECT_EQ(cell->operandRow->rect, (Rect{90, 78, 170, 92}));
    EXPECT_EQ(cell->valueRow->rect, (Rect{90, 92, 170, 106}));
    EXPECT_EQ(cell->symbolRow->fill, (monitor::painting::Rgb{0, 128, 0}));
    EXPECT_EQ(cell->valueRow->fill, (monitor::painting::Rgb{0, 0, 128}));
    EXPECT_EQ(cell->symbolRow->textColour, (monitor::painting::Rgb{255, 255, 15}));
    EXPECT_FALSE(PaintCell(page, 10));
}

TEST(CellPainting, BlankCellsShowOnlyTheirFrameAndLeerOnlyTheSymbol) {
    DisplayPage page;
    page.usedCells = 2;
    page.cells[0] = {"", "", "   "};
    EXPECT_TRUE(PaintCell(page, 0)->frameOnly);
    page.cells[1] = {"Lamp     ", "", ""};
    auto leer = PaintCell(page, 1);
    EXPECT_FALSE(leer->frameOnly);
    EXPECT_TRUE(leer->symbolRow);
    EXPECT_FALSE(leer->operandRow);
    ASSERT_TRUE(leer->valueRow);
    EXPECT_EQ(leer->valueRow->text, "");
}
