#include "setup_tool/core/setup_commands.h"

#include "common/format.h"

namespace setup {

namespace {
// "@TB" fields 6 and 8 go out as the stored value minus these.
constexpr int kTbField6Bias = 1;
constexpr int kTbField8Bias = 7;
// "@TL" field 10 is never read from the file.
constexpr const char* kTlBlankField = "        ";

int Bit(std::uint8_t flags, int bit) {
    return (flags >> bit) & 1;
}
}  // namespace

std::string TbCommand(const SetupRecord& r) {
    using namespace layout::tb;
    return common::Format("@TB%1d%1d%1d%1d%1d%1d%1d%1d%1d%1d%02d%1d%1d%02d%02d%04d",
                          r.byte(kField1), r.byte(kField2), r.byte(kField3), r.byte(kField4),
                          r.byte(kField5), r.byte(kField6) - kTbField6Bias, r.byte(kField7),
                          r.byte(kField8) - kTbField8Bias, r.byte(kField9), r.byte(kField10),
                          r.byte(kField11), r.byte(kField12), r.byte(kField13), r.byte(kField14),
                          r.byte(kField15), r.signedWord(kField16));
}

std::string TcCommand(const SetupRecord& r, int index) {
    return common::Format("@TC%02d/%03d", layout::kTcFirstNumber + index,
                          r.byte(layout::kTcParameters + static_cast<std::size_t>(index)));
}

std::string TdCommand(const SetupRecord& r) {
    std::string command = "@TD";
    for (std::size_t i = 0; i < layout::kTdDigitCount; ++i)
        command += common::Format("%1d", r.byte(layout::kTdDigits + i));
    return command;
}

std::string TeCommand(const SetupRecord& r, int group, int k) {
    const int index = layout::kTeValuesPerGroup * group + k;
    return common::Format("@TE%03d/%04d", layout::kTeNumberStep * group + k + 1,
                          r.signedWord(layout::kTeValues + 2 * static_cast<std::size_t>(index)));
}

std::string TlCommand(const SetupRecord& r) {
    using namespace layout::tl;
    std::string command = common::Format(
        "@TL%04d%05u%1d%1d%1d%04d%1d%04d%1d%8s%05u%1d%1d%05u%1d%1d", r.signedWord(kField1),
        static_cast<unsigned>(r.word(kField2)), r.byte(kField3), r.byte(kField4), r.byte(kField5),
        r.signedWord(kField6), r.byte(kField7), r.signedWord(kField8), r.signedWord(kField9),
        kTlBlankField, static_cast<unsigned>(r.word(kField11)), r.byte(kField12), r.byte(kField13),
        static_cast<unsigned>(r.word(kField14)), r.byte(kField15), r.byte(kField16));
    // Fields 17 to 28: "%04d%04d%02d" for each group.
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        const std::size_t at = kGroups + g * kGroupSize;
        command += common::Format("%04d%04d%02d", r.word(at), r.word(at + 2), r.byte(at + 4));
    }
    return command;
}

std::string TnCommand(const SetupRecord& r) {
    std::string command = "@TN";
    for (std::size_t i = 0; i < layout::kTnDigitCount; ++i)
        command += common::Format("%1d", r.byte(layout::kTnDigits + i));
    command += common::Format("%05u%045d", static_cast<unsigned>(r.word(layout::kTnNumber)), 0);
    return command;
}

std::string FlagDigits(std::uint8_t flags) {
    return common::Format("%1d%1d%1d%1d", Bit(flags, 2), Bit(flags, 0), Bit(flags, 1),
                          Bit(flags, 3));
}

std::string TableCommand(char letter, int n, const TableEntry& entry) {
    return common::Format("@T%c%02d/", letter, n) + FlagDigits(entry.flags) +
           common::Format("/%02d/%04d", entry.value, entry.number);
}

std::string TmCommand(int n) {
    return common::Format("@TM%02d/000", n);
}

std::vector<std::string> ParameterCommands(const SetupRecord& record) {
    std::vector<std::string> commands{TbCommand(record)};
    for (int i = 0; i < static_cast<int>(layout::kTcParameterCount); ++i)
        commands.push_back(TcCommand(record, i));
    commands.push_back(TdCommand(record));
    for (int g = 0; g < layout::kTeGroups; ++g)
        for (int k = 0; k < layout::kTeValuesPerGroup; ++k)
            commands.push_back(TeCommand(record, g, k));
    commands.push_back(TlCommand(record));
    commands.push_back(TnCommand(record));
    return commands;
}

bool TableSwitchOn(const SetupRecord& record) {
    unsigned sum = record.word(layout::kTnNumber);
    for (std::size_t i = 0; i < layout::kTnDigitCount; ++i)
        sum += record.byte(layout::kTnDigits + i);
    return sum != 0;
}

std::vector<std::string> TableCommands(const SetupRecord& record) {
    struct Table {
        char letter;
        std::size_t offset;
        int entries;
    };
    std::vector<std::string> commands;
    for (Table t : {Table{'F', layout::kTableF, layout::kTableFEntries},
                    Table{'G', layout::kTableG, layout::kTableGEntries},
                    Table{'H', layout::kTableH, layout::kTableHEntries},
                    Table{'I', layout::kTableI, layout::kTableIEntries}}) {
        for (int i = 0; i < t.entries; ++i)
            commands.push_back(TableCommand(t.letter, i + 1, record.entry(t.offset, i)));
    }
    for (int n = 1; n <= layout::kTmCommands; ++n) commands.push_back(TmCommand(n));
    return commands;
}

}  // namespace setup
