#pragma once
// The page the variables window shows: 56 cells of three texts each (symbol, operand,
// value), 8 across and 7 bands down; cell i lies in band i / 8 at position i % 8. Only the
// first usedCells cells are drawn.
#include <array>
#include <string>
#include <string_view>

#include "monitor/cell_walk.h"
#include "monitor/page_read_plan.h"
#include "monitor/variable_list.h"

namespace monitor {

struct DisplayCell {
    std::string symbol;   // at most 9 characters
    std::string operand;  // at most 10
    std::string value;    // at most 11
};

// Texts are byte strings in the PLC's 8-bit character set (Latin-1): a BYTEA value may hold
// any byte from 0x20 up, and 0xED for a zero byte.
struct DisplayPage {
    std::array<DisplayCell, kPageCells> cells;
    int usedCells = 0;

    void clear() { *this = DisplayPage(); }
};

// Symbol and operand texts of the page's cells: every cell of a variable shows its symbol
// (when it has one) and, LEER excepted, the operand of its element, with the variable's
// running bit offset starting at 0 on its first cell.
void FormatPageTexts(const VariableList& list, const PageCells& cells, DisplayPage& page);

// Value texts of the page's cells from the receive buffer, and the number of used cells.
// A variable's value may read past its own length into the bytes behind it, never past the
// bytes the page received.
void FormatValueTexts(const VariableList& list, const PageCells& cells, const PageReadPlan& plan,
                      std::string_view receiveBuffer, std::uint8_t readGeneration,
                      DisplayPage& page);

}  // namespace monitor
