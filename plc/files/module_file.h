#pragma once
// The module file (.ob): the 32-byte module header (module_header.h) followed by the module
// code, as long as header bytes 30-31 say. Upload writes exactly 32 + length bytes; download
// needs at least that many and ignores the rest.
//
// Module kinds (header byte 27) and the PLC variants (information block byte 1) they may be
// downloaded to:
//
//   kind              variant 2   other variants
//   0, 11             refused     allowed
//   3, 4, 9, 128      allowed     allowed
//   16, 27-30         allowed     refused
//   anything else     not a module kind
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "plc/module_header.h"

namespace plc {

namespace module_file {
// Results of reading a module file for download, shown as "%d %s" with the file name.
constexpr int kOk = 0;
constexpr int kCannotOpen = 1;  // missing, or can't be opened for reading
constexpr int kNotAModuleKind = 11;
constexpr int kTooShort = 14;       // shorter than 32 + the code length in its header
constexpr int kReadFailed = 15;     // the code can't be read (a negative length included)
constexpr int kNotForVariant = 18;  // a kind this PLC variant does not take
// The base name does not fit the 8-character name field; shown with its own text.
constexpr int kNameTooLong = 19;
constexpr const char* kNameTooLongFormat =
    "Module file name longer than 8 characters (module names have at most 8): %s";

constexpr std::uint8_t kDataBlockKind = 4;
constexpr std::uint8_t kFunctionKind = 30;
constexpr std::uint8_t kRestrictedVariant = 2;
constexpr size_t kSumSize = 2;
}  // namespace module_file

// A module as download sends it: the header (name and date filled in from the file) and the
// code with its 16-bit sum appended, low byte first.
struct ModuleImage {
    ModuleHeader header{};
    std::string code;
};

// The file's base name: the text between the path's last "/" and its last ".".
std::string ModuleBaseName(const std::filesystem::path& path);

// 0 when the kind may be downloaded to the variant; 11 or 18 when not.
int CheckModuleKind(std::uint8_t kind, std::uint8_t variant);

// The 16-bit sum of the bytes.
std::uint16_t CodeSum(std::string_view code);

// Reads a module file for download (a file named with another letter case is found in its
// folder); the file is only read, never written. The header gets the file's base name and, as its
// date, the file's last-access time as the file system reports it once the header was read. The
// code length in the header is a signed 16-bit number: 0x8000 and up is negative, which no file is
// too short for and no read can bring (result 15). Returns one of the module_file results.
int ReadModuleFile(const std::filesystem::path& path, std::uint8_t plcVariant, ModuleImage& image);

}  // namespace plc
