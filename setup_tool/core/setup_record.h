#pragma once
// The setup file: a binary record of the text display's parameters, 1315 bytes, no
// header, numbers little-endian, fields packed without alignment. The setup tool gives the
// fields no meaning; it carries them to the display. A shorter file leaves the rest zero,
// bytes beyond the record are ignored.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace setup {

// Where the fields stand in the record (byte offsets).
namespace layout {
inline constexpr std::size_t kRecordSize = 1315;
inline constexpr std::size_t kVariant = 1;   // byte, also "@TB" field 2
inline constexpr std::size_t kTdDigits = 4;  // 24 bytes, "@TD"
inline constexpr std::size_t kTdDigitCount = 24;
inline constexpr std::size_t kTbFifthField = 28;  // bytes 28 to 38, "@TB" fields 5 to 15
inline constexpr std::size_t kTbSignedWord = 39;  // signed word, "@TB" field 16
inline constexpr std::size_t kTcParameters = 41;  // 8 bytes, "@TC" 09 to 16
inline constexpr std::size_t kTcParameterCount = 8;
inline constexpr int kTcFirstNumber = 9;
inline constexpr std::size_t kTeValues = 49;  // 64 signed words, "@TE"
inline constexpr int kTeGroups = 8;
inline constexpr int kTeValuesPerGroup = 8;
inline constexpr int kTeNumberStep = 30;     // group g numbers from 30 * g + 1
inline constexpr std::size_t kTableF = 177;  // 49 entries
inline constexpr std::size_t kTableG = 422;  // 49 entries
inline constexpr std::size_t kTableH = 667;  // 27 entries sent (room for 27)
inline constexpr std::size_t kTableI = 822;  // 31 entries
inline constexpr int kTableFEntries = 49;
inline constexpr int kTableGEntries = 49;
inline constexpr int kTableHEntries = 27;
inline constexpr int kTableIEntries = 31;
inline constexpr std::size_t kTlFirst = 977;         // "@TL" fields 1 to 9, bytes 977 to 990
inline constexpr std::size_t kTlSecondGroup = 1000;  // "@TL" fields 11 to 28, bytes 1000 to 1027
inline constexpr std::size_t kTnDigits = 1029;       // 10 bytes, "@TN"
inline constexpr std::size_t kTnDigitCount = 10;
inline constexpr std::size_t kTnNumber = 1039;  // word, "@TN"
inline constexpr int kTmCommands = 21;          // "@TM01/000" to "@TM21/000"

// The sources of the "@TB" fields, in the order they are sent.
namespace tb {
inline constexpr std::size_t kField1 = 0, kField2 = 1, kField3 = 2, kField4 = 3;
inline constexpr std::size_t kField5 = 28, kField6 = 29, kField7 = 30, kField8 = 31;
inline constexpr std::size_t kField9 = 32, kField10 = 33, kField11 = 34, kField12 = 35;
inline constexpr std::size_t kField13 = 36, kField14 = 37, kField15 = 38;
inline constexpr std::size_t kField16 = kTbSignedWord;
}  // namespace tb

// The sources of the "@TL" fields; field 10 is eight blanks, bytes 991 to 999 are not
// read. Fields 11 to 16 interleave two groups (words 1000/1002, byte pairs 1004/1005 and
// 1006/1007); fields 17 to 28 are four groups of word, word, byte from 1008 on.
namespace tl {
inline constexpr std::size_t kField1 = 977, kField2 = 979, kField3 = 981, kField4 = 982;
inline constexpr std::size_t kField5 = 983, kField6 = 984, kField7 = 986, kField8 = 987;
inline constexpr std::size_t kField9 = 989;
inline constexpr std::size_t kField11 = 1000, kField12 = 1004, kField13 = 1006;
inline constexpr std::size_t kField14 = 1002, kField15 = 1005, kField16 = 1007;
inline constexpr std::size_t kGroups = 1008;  // fields 17 to 28
inline constexpr std::size_t kGroupSize = 5;  // word, word, byte
inline constexpr std::size_t kGroupCount = 4;
}  // namespace tl
}  // namespace layout

// One entry of the four tables "@TF", "@TG", "@TH", "@TI", 5 bytes.
struct TableEntry {
    static constexpr std::size_t kSize = 5;
    static constexpr std::size_t kFlagsOffset = 0;   // flags in bits 0 to 3
    static constexpr std::size_t kValueOffset = 1;   // byte
    static constexpr std::size_t kNumberOffset = 2;  // word
    std::uint8_t flags = 0;
    std::uint8_t value = 0;
    std::uint16_t number = 0;
};

// What the display variant (byte 1) fixes for the text pages.
struct DisplayVariant {
    int linesPerPage = 2;
    int maxPages = 0;  // 0: no limit
};
DisplayVariant VariantOf(std::uint8_t variantByte);

class SetupRecord {
  public:
    SetupRecord() = default;
    // The record from the first bytes given, the rest zero.
    static SetupRecord FromBytes(const std::string& bytes);

    std::uint8_t byte(std::size_t offset) const { return bytes_.at(offset); }
    std::uint16_t word(std::size_t offset) const {
        return static_cast<std::uint16_t>(bytes_.at(offset) | (bytes_.at(offset + 1) << 8));
    }
    std::int16_t signedWord(std::size_t offset) const {
        return static_cast<std::int16_t>(word(offset));
    }
    TableEntry entry(std::size_t tableOffset, int index) const;  // index from 0
    DisplayVariant variant() const { return VariantOf(byte(layout::kVariant)); }

  private:
    std::array<std::uint8_t, layout::kRecordSize> bytes_{};
};

// Reads the first 1315 bytes of the setup file; nullopt when it can't be opened or read.
std::optional<SetupRecord> ReadSetupRecord(const std::filesystem::path& path);

}  // namespace setup
