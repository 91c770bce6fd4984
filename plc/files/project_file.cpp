#include "plc/files/project_file.h"

#include <cctype>
#include <cstdlib>

#include "common/file_helpers.h"
#include "common/format.h"
#include "common/utf8_path.h"

namespace plc {

namespace {

std::string Column(const std::string& line, size_t from, size_t width) {
    return from < line.size() ? line.substr(from, width) : std::string();
}

std::string WithoutLeadingBlanks(const std::string& text) {
    size_t start = text.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : text.substr(start);
}

std::string WithoutTrailingBlanks(const std::string& text) {
    size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

}  // namespace

std::optional<ModuleRecord> ParseProjectLine(const std::string& line) {
    if (line.size() < project::kMinimumLineLength) return std::nullopt;
    const std::string number =
        WithoutLeadingBlanks(Column(line, project::kNumberColumn, project::kNumberWidth));
    if (number.empty() || !std::isdigit(static_cast<unsigned char>(number[0]))) return std::nullopt;
    std::string name =
        WithoutTrailingBlanks(Column(line, project::kNameColumn, project::kNameWidth));
    const size_t dot = name.find('.', 1);
    if (dot == std::string::npos) return std::nullopt;

    ModuleRecord record;
    record.number = std::atoi(number.c_str());
    record.reserved = std::atoi(
        WithoutLeadingBlanks(Column(line, project::kReservedColumn, project::kReservedWidth))
            .c_str());
    record.kindLetter =
        line.size() > project::kKindLetterColumn ? line[project::kKindLetterColumn] : ' ';
    record.fileName = name.substr(0, dot) + (record.number == 0 ? ".kb" : ".ob");
    return record;
}

std::optional<std::vector<ModuleRecord>> ReadProjectFile(const std::filesystem::path& path) {
    std::optional<std::string> text = common::ReadWholeFile(path);
    if (!text) return std::nullopt;
    std::vector<ModuleRecord> records;
    for (const std::string& line : common::SplitTextLines(*text)) {
        std::optional<ModuleRecord> record = ParseProjectLine(line);
        if (!record) continue;
        std::error_code ec;
        if (auto found = common::FindFileIgnoringCase(RecordPath(path.parent_path(), *record))) {
            auto size = std::filesystem::file_size(*found, ec);
            if (!ec) record->size = static_cast<std::int32_t>(size);
        }
        records.push_back(*record);
    }
    return records;
}

std::filesystem::path RecordPath(const std::filesystem::path& folder, const ModuleRecord& record) {
    return folder / common::PathFromUtf8(record.fileName);
}

std::string FormatProjectLine(int number, int kind, const std::string& fileName) {
    return common::Format(project::kLineFormat, number, kind, project::kAbsoluteLetter,
                          fileName.c_str());
}

}  // namespace plc
