#include "monitor/cell_painting.h"

namespace monitor::painting {

namespace {
bool AllBlank(const DisplayCell& cell) {
    std::string joined = cell.symbol + cell.operand + cell.value;
    return joined.find_first_not_of(' ') == std::string::npos;
}

Rect Row(int left, int top) {
    return {left, top, left + kCellWidth, top + kRowHeight};
}
}  // namespace

std::optional<CellPainting> PaintCell(const DisplayPage& page, int i) {
    if (i < 0 || i >= page.usedCells || i >= kPageCells) return std::nullopt;
    const DisplayCell& cell = page.cells[static_cast<size_t>(i)];
    const int x = kCellPitch * (i % kCellsPerBand);
    const int y = kFirstMiddleRow + kBandPitch * (i / kCellsPerBand);
    CellPainting painting;
    painting.frame = {x, y - kRowHeight, x + kCellWidth, y + 2 * kRowHeight};
    if (AllBlank(cell)) {
        painting.frameOnly = true;
        return painting;
    }
    if (!cell.symbol.empty())
        painting.symbolRow =
            PaintedRow{Row(x, y - kRowHeight), kSymbolFill, kSymbolTextColour, cell.symbol};
    if (!cell.operand.empty())
        painting.operandRow = PaintedRow{Row(x, y), kOperandFill, kOperandTextColour, cell.operand};
    painting.valueRow =
        PaintedRow{Row(x, y + kRowHeight), kValueFill, kValueTextColour, cell.value};
    return painting;
}

}  // namespace monitor::painting
