#pragma once
// The 32-byte module header, as the PLC holds it and as it opens a module file (.ob):
//
//   offset  size  meaning
//   0       9     module name, NUL-terminated, at most 8 characters
//   9       1     year (two digits), 10 month, 11 day, 12 hour, 13 minute
//   14      6     kept as found
//   20      1     firmware major the module needs; bit 7 marks damaged module data
//   21      1     firmware minor the module needs
//   22      2     0x032C, set by download
//   24      1     kept as found
//   25      2     module number in the program's own numbering (DB.NR, FN.NR)
//   27      1     module kind
//   28      1     directory code: PLC module number with 0x80 or 0xC0, set by download
//   29      1     start page of the code in the PLC, set by download
//   30      2     code length in bytes (in the PLC: including the 2-byte sum)
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace plc {

namespace header {
constexpr size_t kSize = 32;
constexpr size_t kName = 0;
constexpr size_t kNameSize = 9;  // with its terminating NUL
constexpr size_t kMaxNameLength = 8;
constexpr size_t kYear = 9;
constexpr size_t kMonth = 10;
constexpr size_t kDay = 11;
constexpr size_t kHour = 12;
constexpr size_t kMinute = 13;
constexpr size_t kFirmwareMajor = 20;
constexpr size_t kFirmwareMinor = 21;
constexpr std::uint8_t kDamagedMark = 0x80;
constexpr size_t kLoaderMark = 22;  // word 0x032C
constexpr std::uint16_t kLoaderMarkValue = 0x032C;
constexpr size_t kOwnNumber = 25;
constexpr size_t kKind = 27;
constexpr size_t kDirectoryCode = 28;
constexpr size_t kStartPage = 29;
constexpr size_t kCodeLength = 30;
}  // namespace header

using ModuleHeader = std::array<std::uint8_t, header::kSize>;

// The name field up to its NUL (at most 8 characters).
std::string HeaderName(const std::uint8_t* header);
std::uint16_t HeaderWord(const std::uint8_t* header, size_t offset);
void SetHeaderWord(std::uint8_t* header, size_t offset, std::uint16_t value);

}  // namespace plc
