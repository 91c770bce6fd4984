#include "monitor/variable_list.h"

namespace monitor {

bool VariableList::append(const VariableEntry& entry) {
    if (full()) return false;
    entries_.push_back(entry);
    return true;
}

VariableType DisplayCode(const VariableEntry& entry) {
    if (entry.address == 0 && entry.type != VariableType::kLeer) return VariableType::kNoAddress;
    return entry.type;
}

}  // namespace monitor
