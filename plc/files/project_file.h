#pragma once
// The project file (.pr): one text line per part of the project, in fixed columns.
//
//   columns  written by upload                      read by download
//   0-2      module number, right-aligned (0: the   columns 0-3 without leading blanks, a
//            configuration block)                   decimal number when they start with a digit
//   3        "|"
//   4-6      module kind as in the module header    (kept as "reserved", not used)
//            (10 for the configuration block)
//   7-8      "|", blank
//   9        kind letter, always "A"                "A": directory code 0xC0, else 0x80
//   10-20    " |    |   |"
//   21-33    file name, padded with blanks to 13    trailing blanks removed
//
// Upload ends its lines with "\r\n"; download accepts "\r\n" and "\n".
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace plc {

// One accepted project line. Number 0 marks the configuration block.
struct ModuleRecord {
    std::int32_t number = 0;
    std::int32_t reserved = 0;  // the value in columns 4-9; not used
    char kindLetter = ' ';
    std::int32_t size = 0;  // size of the named file when the list was made; not used
    std::string fileName;   // base name with ".kb" (number 0) or ".ob"
};

namespace project {
constexpr size_t kNumberColumn = 0;
constexpr size_t kNumberWidth = 4;
constexpr size_t kReservedColumn = 4;
constexpr size_t kReservedWidth = 6;
constexpr size_t kKindLetterColumn = 9;
constexpr size_t kNameColumn = 21;
constexpr size_t kNameWidth = 13;
constexpr size_t kMinimumLineLength = 6;
constexpr char kAbsoluteLetter = 'A';
constexpr int kConfigurationKind = 10;
// The line format upload writes.
constexpr const char* kLineFormat = "%3d|%-3d| %c |    |   |%-13s\r\n";
}  // namespace project

// The record a line names, or nullopt for a line download skips (5 characters or fewer,
// a number field that does not start with a digit, no "." after the name's first character).
std::optional<ModuleRecord> ParseProjectLine(const std::string& line);

// The records of a project file in file order; sizes are looked up in the file's folder
// (names matched ignoring case). nullopt when the file can't be read.
std::optional<std::vector<ModuleRecord>> ReadProjectFile(const std::filesystem::path& path);

// The file a record names, in the project's folder. Names are UTF-8, as upload writes them;
// one from an 8-bit system keeps its bytes.
std::filesystem::path RecordPath(const std::filesystem::path& folder, const ModuleRecord& record);

// One line as upload writes it, "\r\n" included.
std::string FormatProjectLine(int number, int kind, const std::string& fileName);

}  // namespace plc
