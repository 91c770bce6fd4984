#pragma once
// The variables of a symbol file, in file order. The entries are chained by their position:
// the previous and next variable of entry i are entries i - 1 and i + 1, and an index at or
// past the end holds no variable. Where a variable's bytes lie in the current page is kept
// by the page's read plan (page_read_plan.h), not in the entry.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "monitor/variable_type.h"

namespace monitor {

struct VariableEntry {
    VariableType type = VariableType::kBit;
    std::string operand;           // operand prefix, at most 10 characters (an area letter, "MW")
    std::string symbol;            // symbolic name, at most 9 characters; may be empty
    std::uint16_t number = 0;      // first operand number
    std::uint16_t lastNumber = 0;  // second operand number (word types)
    std::uint8_t column = 0;       // horizontal position, 10 per cell; decides the bands
    // By type: bit width 8 or 16 (BIT, BITF, BWORT), elements per operand number (word
    // types), first sub-index (EXTEA, EXTBF, EXTB).
    std::uint8_t sub = 0;
    std::uint8_t bit = 0;       // bit number, from 0
    std::uint8_t cells = 0;     // display cells (elements) of the variable
    std::uint16_t address = 0;  // PLC memory address of the first byte; 0: not in the PLC
    std::uint16_t length = 0;   // bytes read for the variable
};

inline constexpr size_t kOperandTextMax = 10;
inline constexpr size_t kSymbolTextMax = 9;

class VariableList {
  public:
    static constexpr size_t kCapacity = 256;

    void clear() { entries_.clear(); }
    // False (nothing added) when the list is full.
    bool append(const VariableEntry& entry);

    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    bool full() const { return entries_.size() >= kCapacity; }
    // True when the index holds a variable.
    bool holds(int index) const { return index >= 0 && static_cast<size_t>(index) < size(); }
    const VariableEntry& operator[](size_t index) const { return entries_[index]; }
    VariableEntry& operator[](size_t index) { return entries_[index]; }

    std::vector<VariableEntry>::const_iterator begin() const { return entries_.begin(); }
    std::vector<VariableEntry>::const_iterator end() const { return entries_.end(); }

  private:
    std::vector<VariableEntry> entries_;
};

// The code under which a variable's value is shown: kNoAddress for a variable with address
// 0 (LEER excepted), else its type.
VariableType DisplayCode(const VariableEntry& entry);

}  // namespace monitor
