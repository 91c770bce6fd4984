#include "monitor/symbol_file.h"

#include "common/file_helpers.h"

namespace monitor {

namespace {

// Column ranges of the fields, first and last column inclusive.
struct Columns {
    size_t first;
    size_t last;
};
constexpr size_t kShortestLine = 6;
constexpr Columns kLineNumberColumns{0, 2};
constexpr Columns kTypeColumns{4, 8};
constexpr Columns kOperandColumns{10, 19};
constexpr Columns kSymbolColumns{21, 29};
constexpr Columns kNumberColumns{32, 35};
constexpr Columns kLastNumberColumns{37, 41};
constexpr Columns kColumnColumns{42, 43};
constexpr Columns kSubColumns{45, 47};
constexpr Columns kBitColumns{49, 51};
constexpr Columns kCellsColumns{53, 56};
constexpr Columns kAddressColumns{58, 61};
constexpr Columns kLengthColumns{63, 65};

std::string_view Field(std::string_view line, Columns columns) {
    if (columns.first >= line.size()) return {};
    return line.substr(columns.first, columns.last - columns.first + 1);
}

std::string_view TrimLeading(std::string_view text) {
    size_t start = text.find_first_not_of(' ');
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

std::string_view TrimTrailing(std::string_view text) {
    size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads the optional sign; returns true for '-'.
bool TakeSign(std::string_view& text) {
    text = TrimLeading(text);
    if (text.empty() || (text[0] != '-' && text[0] != '+')) return false;
    bool negative = text[0] == '-';
    text.remove_prefix(1);
    return negative;
}

std::uint32_t ApplySign(std::uint32_t value, bool negative) {
    return negative ? 0u - value : value;
}

std::uint16_t Word(std::uint32_t value) {
    return static_cast<std::uint16_t>(value & 0xFFFF);
}
std::uint8_t Byte(std::uint32_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

}  // namespace

std::uint32_t ParseDecimal(std::string_view text) {
    bool negative = TakeSign(text);
    std::uint32_t value = 0;
    for (char c : text) {
        if (!IsDecimalDigit(c)) break;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return ApplySign(value, negative);
}

std::uint32_t ParseHexadecimal(std::string_view text) {
    bool negative = TakeSign(text);
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    std::uint32_t value = 0;
    for (char c : text) {
        int digit = HexDigitValue(c);
        if (digit < 0) break;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return ApplySign(value, negative);
}

SymbolLine ParseSymbolLine(std::string_view line) {
    SymbolLine result;
    if (line.size() < kShortestLine) return result;
    std::string_view lineNumber = TrimLeading(Field(line, kLineNumberColumns));
    if (lineNumber.empty() || !IsDecimalDigit(lineNumber[0])) return result;

    std::optional<VariableType> type = FindTypeKeyword(TrimTrailing(Field(line, kTypeColumns)));
    if (!type) {
        result.kind = SymbolLine::Kind::kUnknownType;
        return result;
    }
    VariableEntry& entry = result.entry;
    entry.type = *type;
    entry.operand = std::string(TrimTrailing(Field(line, kOperandColumns)));
    entry.symbol = std::string(TrimTrailing(Field(line, kSymbolColumns)));
    entry.number = Word(ParseDecimal(Field(line, kNumberColumns)));
    entry.lastNumber = Word(ParseDecimal(Field(line, kLastNumberColumns)));
    entry.column = Byte(ParseDecimal(Field(line, kColumnColumns)));
    entry.sub = Byte(ParseDecimal(Field(line, kSubColumns)));
    entry.bit = Byte(ParseDecimal(Field(line, kBitColumns)));
    entry.cells = Byte(ParseDecimal(Field(line, kCellsColumns)));
    entry.address = Word(ParseHexadecimal(Field(line, kAddressColumns)));
    entry.length = Word(ParseDecimal(Field(line, kLengthColumns)));
    result.kind = SymbolLine::Kind::kVariable;
    return result;
}

SymbolFileResult LoadSymbolFile(const std::filesystem::path& path, VariableList& list,
                                common::Frontend& frontend) {
    SymbolFileResult result;
    list.clear();
    std::optional<std::string> text = common::ReadWholeFile(path);
    if (!text) return result;
    for (const std::string& line : common::SplitTextLines(*text)) {
        SymbolLine parsed = ParseSymbolLine(line);
        if (parsed.kind == SymbolLine::Kind::kSkipped) continue;
        if (parsed.kind == SymbolLine::Kind::kUnknownType) {
            frontend.message(kTypeNotFoundText);
            result.status = SymbolFileResult::Status::kTypeNotFound;
            break;
        }
        if (!list.append(parsed.entry)) {
            frontend.message(kTooManyVariablesText);
            result.truncated = true;
            break;
        }
    }
    result.count = list.size();
    return result;
}

}  // namespace monitor
