#pragma once
// How a page's variables fall into the 56 cells of the display: 7 bands of 8 cells. A
// variable with n cells takes n consecutive cell numbers, one per element. A variable
// continues in the band of the one before only when its column lies beyond the last cell of
// that one (columns count 10 per cell); otherwise it starts a new band (the cell number is
// rounded up to a multiple of 8). The walk ends after the page's last variable or when the
// cell number reaches 56.
#include <cstddef>
#include <vector>

#include "monitor/variable_list.h"

namespace monitor {

inline constexpr int kCellsPerBand = 8;
inline constexpr int kBandsPerPage = 7;
inline constexpr int kPageCells = kCellsPerBand * kBandsPerPage;
inline constexpr int kColumnsPerCell = 10;

// One cell of the page: element `element` of the variable with index `variable`.
struct CellPlacement {
    size_t variable = 0;
    int element = 0;
    int cell = 0;
};

struct PageCells {
    std::vector<CellPlacement> cells;  // in cell order
    int usedCells = 0;                 // the cell number where the walk ended
};

// The cells of the variables first .. end - 1 (end clipped to the list).
PageCells WalkCells(const VariableList& list, size_t first, size_t end);

}  // namespace monitor
