#include "monitor/value_text.h"

#include "common/format.h"

namespace monitor {

namespace {

constexpr int kBitsPerByte = 8;
constexpr int kWideBitWidth = 16;
// The index of an indexed variable lies behind its word: a byte when the variable is 3
// bytes long, else a word.
constexpr size_t kIndexOffset = 2;
constexpr std::uint16_t kByteIndexLength = 3;
// BYTEA shows nine characters, fewer where the page's bytes end; a received 0x00 shows as
// this character (Latin-1), other control bytes as '?'.
constexpr size_t kCharacterCount = 9;
constexpr char kZeroByteCharacter = static_cast<char>(0xED);
// DWORT shows values in this range directly, others shortened by powers of ten.
constexpr std::int32_t kDirectLow = -9999999;
constexpr std::int32_t kDirectHigh = 99999999;
constexpr std::int32_t kMantissaLow = -999999;
constexpr std::int32_t kMantissaHigh = 9999999;

std::string BitText(std::uint8_t byte, int shift) {
    char bit = shift < kBitsPerByte && ((byte >> shift) & 1) ? '1' : '0';
    return common::Format("    %c    ", bit);
}

std::string DoubleWordText(std::int32_t value) {
    if (value >= kDirectLow && value <= kDirectHigh)
        return common::Format("%9ld", static_cast<long>(value));
    int exponent = 0;
    do {
        value /= 10;
        ++exponent;
    } while (value < kMantissaLow || value > kMantissaHigh);
    std::string shortened = common::Format("%lde%d", static_cast<long>(value), exponent);
    return common::Format("%9s", shortened.c_str());
}

std::string CharacterText(const VariableBytes& bytes, size_t first) {
    std::string characters;
    for (size_t i = 0; i < kCharacterCount && bytes.received(first + i); ++i) {
        std::uint8_t byte = bytes.byte(first + i);
        if (byte >= 0x20)
            characters += static_cast<char>(byte);
        else if (byte == 0)
            characters += kZeroByteCharacter;
        else
            characters += '?';
    }
    return common::Format("%9s", characters.c_str());
}

std::string IndexedText(const VariableEntry& entry, const VariableBytes& bytes,
                        std::uint8_t readGeneration) {
    if (readGeneration <= 1) return kNoAddressText;
    unsigned index =
        entry.length == kByteIndexLength ? bytes.byte(kIndexOffset) : bytes.word(kIndexOffset);
    if (index == 0) return common::Format("  %6hd ", static_cast<short>(bytes.word(0)));
    std::string indexText = common::Format("%s[%u]", "", index);
    return common::Format("%-9s", indexText.c_str());
}

}  // namespace

std::string FormatBitString(std::uint8_t byte) {
    std::string text;
    for (int bit = 0; bit < kBitsPerByte; ++bit) {
        if (bit == 4) text += ' ';
        text += (byte >> bit) & 1 ? '1' : '0';
    }
    return text;
}

std::string FormatValueText(const VariableEntry& entry, int k, std::uint8_t readGeneration,
                            std::string_view data) {
    VariableBytes bytes(data);
    const auto element = static_cast<size_t>(k);
    const std::uint8_t byte = bytes.byte(element);
    switch (DisplayCode(entry)) {
        case VariableType::kBit: {
            int shift = entry.bit;
            if (entry.sub == kWideBitWidth && entry.bit >= kBitsPerByte) shift -= kBitsPerByte;
            return BitText(byte, shift);
        }
        case VariableType::kExtb: {
            int shift = entry.bit;
            if (entry.bit >= kBitsPerByte) shift -= kBitsPerByte;
            return BitText(byte, shift);
        }
        case VariableType::kBitf:
        case VariableType::kBwort:
        case VariableType::kKsm:
        case VariableType::kExtbf:
            return FormatBitString(byte);
        case VariableType::kByte:
            return common::Format("   %3d   ", byte);
        case VariableType::kByteh:
            return common::Format("   %02X    ", static_cast<unsigned>(byte));
        case VariableType::kWort:
        case VariableType::kExtea:
            return common::Format("  %6hd ", static_cast<short>(bytes.word(2 * element)));
        case VariableType::kWorth:
            return common::Format("  %04XH", static_cast<unsigned>(bytes.word(2 * element)));
        case VariableType::kDwort:
            return DoubleWordText(static_cast<std::int32_t>(bytes.doubleWord(4 * element)));
        case VariableType::kDwrth:
            return common::Format("%08lXH",
                                  static_cast<unsigned long>(bytes.doubleWord(4 * element)));
        case VariableType::kBytea:
            return CharacterText(bytes, element);
        case VariableType::kIndmw:
        case VariableType::kIndxw:
            return IndexedText(entry, bytes, readGeneration);
        case VariableType::kLeer:
        case VariableType::kIllo:
            return {};
        case VariableType::kNoAddress:
            return kNoAddressText;
    }
    return {};
}

}  // namespace monitor
