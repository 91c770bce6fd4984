#include "monitor/cell_walk.h"

#include <algorithm>

namespace monitor {

namespace {
int RoundUpToBand(int cell) {
    return (cell + kCellsPerBand - 1) / kCellsPerBand * kCellsPerBand;
}
}  // namespace

PageCells WalkCells(const VariableList& list, size_t first, size_t end) {
    PageCells page;
    end = std::min(end, list.size());
    int cell = 0;
    for (size_t v = first; v < end && cell < kPageCells; ++v) {
        const VariableEntry& entry = list[v];
        const int n = entry.cells;
        for (int k = 0; k < n && cell < kPageCells; ++k) page.cells.push_back({v, k, cell++});
        if (v + 1 < end) {
            // The last cell of this variable lies at column + 10 (n - 1).
            int lastCellColumn = kColumnsPerCell * (n - 1) + entry.column;
            if (list[v + 1].column <= lastCellColumn) cell = RoundUpToBand(cell);
        }
    }
    page.usedCells = std::min(cell, kPageCells);
    return page;
}

}  // namespace monitor
