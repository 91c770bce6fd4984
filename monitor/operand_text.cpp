#include "monitor/operand_text.h"

#include "common/format.h"

namespace monitor {

namespace {

constexpr std::uint8_t kByteWidth = 8;
constexpr std::uint8_t kWordWidth = 16;
// A BWORT cell of a 16-bit word shows its low byte, then its high byte.
constexpr std::uint8_t kHighByteOffset = 8;
constexpr int kBitsPerCell = 8;

std::string Cut(std::string text, size_t most) {
    if (text.size() > most) text.resize(most);
    return text;
}

// BIT: the same operand for every cell.
std::string BitOperand(const VariableEntry& entry) {
    const char* operand = entry.operand.c_str();
    if (entry.number == 0) return entry.operand;
    if (entry.sub != 0) return common::Format("%s%d.%d", operand, entry.number, entry.bit + 1);
    return common::Format("%s%d", operand, entry.number);
}

// BITF and BWORT: the cell shows a run of bits starting at the one named.
std::string BitRunOperand(const VariableEntry& entry, int k, std::uint8_t& bitOffset) {
    const char* operand = entry.operand.c_str();
    bitOffset = static_cast<std::uint8_t>(bitOffset + entry.bit);
    std::string text;
    if (entry.sub == kByteWidth)
        text = common::Format("%s%d.1-", operand, entry.number + k);
    else if (entry.sub == kWordWidth)
        text = common::Format("%s%d.%d-", operand, entry.number + k / 2, bitOffset + 1);
    else
        text = common::Format("%s%d-", operand, entry.number + kBitsPerCell * k);
    bool lastCell = k + 1 >= entry.cells;
    if (entry.type == VariableType::kBwort && entry.sub == kWordWidth && !lastCell)
        bitOffset = bitOffset != 0 ? 0 : kHighByteOffset;
    return text;
}

std::string WordOperand(const VariableEntry& entry, int k) {
    const char* operand = entry.operand.c_str();
    if (entry.sub == 0) return common::Format("%s%d", operand, entry.number + k);
    if (entry.number == entry.lastNumber)
        return common::Format("%s%d.%d", operand, entry.number, entry.sub + k);
    return common::Format("%s%d.%d", operand, entry.number + k / entry.sub, k % entry.sub + 1);
}

}  // namespace

std::string FormatOperandText(const VariableEntry& entry, int k, std::uint8_t& bitOffset) {
    const char* operand = entry.operand.c_str();
    std::string text;
    switch (entry.type) {
        case VariableType::kBit:
            text = BitOperand(entry);
            break;
        case VariableType::kBitf:
        case VariableType::kBwort:
            text = BitRunOperand(entry, k, bitOffset);
            break;
        case VariableType::kByte:
        case VariableType::kByteh:
            text = common::Format("%s%d.1", operand, entry.number + k);
            break;
        case VariableType::kWort:
        case VariableType::kDwort:
        case VariableType::kWorth:
        case VariableType::kDwrth:
            text = WordOperand(entry, k);
            break;
        case VariableType::kKsm:
            text = common::Format("%s%d", operand, entry.number);
            break;
        case VariableType::kBytea:
            text = common::Format("%s%d", operand, entry.number + k);
            break;
        case VariableType::kIndmw:
        case VariableType::kIndxw:
            text = common::Format("%s[%s%d]", "", operand, entry.number + k);
            break;
        case VariableType::kExtea:
            text = common::Format("%s%d.%d", operand, entry.number, entry.sub + k);
            break;
        case VariableType::kExtbf:
            text =
                common::Format("%s%d.%d.%d-", operand, entry.number, entry.sub + k, entry.bit + 1);
            break;
        case VariableType::kExtb:
            text =
                common::Format("%s%d.%d.%d", operand, entry.number, entry.sub + k, entry.bit + 1);
            break;
        case VariableType::kLeer:
        case VariableType::kIllo:
        case VariableType::kNoAddress:
            break;
    }
    return Cut(std::move(text), kOperandTextMax);
}

std::string FormatSymbolText(const VariableEntry& entry) {
    if (entry.symbol.empty()) return {};
    const char* symbol = entry.symbol.c_str();
    std::string text;
    if (entry.type == VariableType::kIndmw || entry.type == VariableType::kIndxw)
        text = common::Format("%s[%-5s]", "", symbol);
    else
        text = common::Format("%-9s", symbol);
    return Cut(std::move(text), kSymbolTextMax);
}

}  // namespace monitor
