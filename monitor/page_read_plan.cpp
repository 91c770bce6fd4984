#include "monitor/page_read_plan.h"

#include <algorithm>

#include "monitor/cell_walk.h"

namespace monitor {

namespace {

constexpr size_t kRecordsInUseMax = kReadListRecords - 1;

bool IsRead(const VariableEntry& entry) {
    return entry.type != VariableType::kLeer && entry.address != 0;
}

// The segment word of a variable on a PLC that reads segments; nullopt for the 16-bit space.
std::optional<std::uint16_t> SegmentOf(const VariableEntry& entry, const PlcReadSettings& plc) {
    switch (entry.type) {
        case VariableType::kIndmw:
            return plc.indmwSegment;
        case VariableType::kIndxw:
            return plc.indxwSegment;
        case VariableType::kExtea:
        case VariableType::kExtbf:
        case VariableType::kExtb:
            return kExtensionSegment;
        default:
            return std::nullopt;
    }
}

}  // namespace

size_t PageReadPlan::totalBytes() const {
    size_t total = 0;
    for (const plc::ListItem& item : readList) total += item.length;
    return total;
}

std::optional<DataSlot> PageReadPlan::slotOf(size_t variable) const {
    if (variable < first || variable >= end) return std::nullopt;
    return data[variable - first];
}

PageReadPlan BuildReadList(const VariableList& list, size_t first, const PlcReadSettings& plc) {
    PageReadPlan plan;
    const bool segmentsKnown = plc.readGeneration > 1;
    plan.command = segmentsKnown ? plc::command::kReadList : plc::command::kRepeatListRead;
    plan.first = plan.end = first;
    size_t offset = 0;
    int lineCount = 0;
    for (size_t v = first; v < list.size() && lineCount < kPageCells; ++v) {
        const VariableEntry& entry = list[v];
        std::optional<DataSlot> slot;
        if (IsRead(entry)) {
            size_t length = entry.length;
            const bool firstOfPage = v == first;
            if (firstOfPage) {
                length = std::min(length, kReceiveBufferSize);
            } else if (offset + length > kReceiveBufferSize ||
                       plan.readList.size() == kRecordsInUseMax) {
                plan.cutShort = true;
                break;
            }
            plc::ListItem item{entry.address, static_cast<std::uint16_t>(length), 0, false};
            if (segmentsKnown) {
                if (std::optional<std::uint16_t> segment = SegmentOf(entry, plc)) {
                    item.segment = *segment;
                    plan.command = plc::command::kReadSegmentList;
                }
            }
            plan.readList.push_back(item);
            slot = DataSlot{offset, length};
            offset += length;
        }
        plan.data.push_back(slot);
        plan.end = v + 1;
        lineCount += entry.cells;
    }
    return plan;
}

}  // namespace monitor
