#pragma once
// The symbol and operand rows of a cell.
#include <cstdint>
#include <string>

#include "monitor/variable_list.h"

namespace monitor {

// The operand text of cell k (at most 10 characters). bitOffset is the variable's running
// bit offset: the caller sets it to 0 before the variable's first cell and passes the same
// byte for each further cell; BITF and BWORT advance it. LEER and ILLO have no operand.
std::string FormatOperandText(const VariableEntry& entry, int k, std::uint8_t& bitOffset);

// The symbol text (at most 9 characters), empty when the variable has no symbol. The
// indexed types show it in brackets.
std::string FormatSymbolText(const VariableEntry& entry);

}  // namespace monitor
