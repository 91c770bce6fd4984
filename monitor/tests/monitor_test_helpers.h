#pragma once
// Variables and symbol file lines for the monitor's unit tests.
#include <string>

#include "monitor/variable_list.h"

namespace monitor::testing {

// A variable of the given type with one cell at the given address; the rest set by the test.
inline VariableEntry Variable(VariableType type, std::uint16_t address = 0x0100,
                              std::uint16_t length = 1, std::uint8_t cells = 1) {
    VariableEntry entry;
    entry.type = type;
    entry.address = address;
    entry.length = length;
    entry.cells = cells;
    return entry;
}

// Bytes from a list of values.
inline std::string Data(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

// A symbol file line with each field written at its first column.
struct LineFields {
    std::string lineNumber = "1";
    std::string type;
    std::string operand;
    std::string symbol;
    std::string number;
    std::string lastNumber;
    std::string column;
    std::string sub;
    std::string bit;
    std::string cells;
    std::string address;
    std::string length;
};

inline void Put(std::string& line, size_t column, const std::string& text) {
    if (line.size() < column + text.size()) line.resize(column + text.size(), ' ');
    line.replace(column, text.size(), text);
}

inline std::string SymbolFileLine(const LineFields& f) {
    std::string line;
    Put(line, 0, f.lineNumber);
    Put(line, 4, f.type);
    Put(line, 10, f.operand);
    Put(line, 21, f.symbol);
    Put(line, 32, f.number);
    Put(line, 37, f.lastNumber);
    Put(line, 42, f.column);
    Put(line, 45, f.sub);
    Put(line, 49, f.bit);
    Put(line, 53, f.cells);
    Put(line, 58, f.address);
    Put(line, 63, f.length);
    return line;
}

}  // namespace monitor::testing
