#include "monitor/display_page.h"

#include <algorithm>

#include "monitor/operand_text.h"
#include "monitor/value_text.h"

namespace monitor {

void FormatPageTexts(const VariableList& list, const PageCells& cells, DisplayPage& page) {
    std::uint8_t bitOffset = 0;
    for (const CellPlacement& placement : cells.cells) {
        const VariableEntry& entry = list[placement.variable];
        DisplayCell& cell = page.cells[static_cast<size_t>(placement.cell)];
        if (placement.element == 0) bitOffset = 0;
        cell.symbol = FormatSymbolText(entry);
        if (entry.type != VariableType::kLeer)
            cell.operand = FormatOperandText(entry, placement.element, bitOffset);
    }
}

void FormatValueTexts(const VariableList& list, const PageCells& cells, const PageReadPlan& plan,
                      std::string_view receiveBuffer, std::uint8_t readGeneration,
                      DisplayPage& page) {
    for (const CellPlacement& placement : cells.cells) {
        const VariableEntry& entry = list[placement.variable];
        std::string_view bytes;
        if (std::optional<DataSlot> slot = plan.slotOf(placement.variable)) {
            // Bounded by what the page received, not by the variable's own length: the
            // value reads on into the bytes behind it, as the receive buffer lets it.
            const std::string_view received =
                receiveBuffer.substr(0, std::min(receiveBuffer.size(), kReceiveBufferSize));
            if (slot->offset < received.size()) bytes = received.substr(slot->offset);
        }
        page.cells[static_cast<size_t>(placement.cell)].value =
            FormatValueText(entry, placement.element, readGeneration, bytes);
    }
    page.usedCells = cells.usedCells;
}

}  // namespace monitor
