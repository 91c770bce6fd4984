#pragma once
// The configuration block file (.kb): the PLC's 512-byte configuration block, byte for byte,
// as it lies in the configuration segment at offset 0x0400.
//
//   offset  size  meaning
//   19      1     CPU number shown by the program (0 stands for 12)
//   26      1     non-zero: the master function, which needs PLC firmware 1.4 or later
//   32      15    project name, NUL-padded: the main window's title
//   206     2     PLC flags word; bit 5 (0x20) marks a word the PLC is to take over
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "common/frontend.h"
#include "plc/plc_state.h"

namespace plc {

using ConfigurationBlock = std::array<std::uint8_t, kConfigurationBlockSize>;

namespace configuration {
constexpr size_t kCpuNumber = 19;
constexpr size_t kMasterFunction = 26;
constexpr size_t kTitle = 32;
constexpr size_t kTitleSize = 15;
constexpr size_t kFlagsWord = 206;
constexpr std::uint16_t kFlagsTakeOver = 0x20;
// Where the block lies in the PLC: configuration segment, this offset.
constexpr std::uint16_t kOffset = 0x0400;
}  // namespace configuration

// Reads up to 512 bytes from the start of the file (found ignoring letter case when it is
// not there as named) into block, the rest zero. 0 on success;
// 1 after showing "Can't open kb file" (can't be opened) or "can't open file:%s" (path; the
// file holds no byte).
int ReadConfigurationFile(const std::filesystem::path& path, ConfigurationBlock& block,
                          common::Frontend& frontend);

// The 16-bit sum of the block's bytes; 0 means the PLC holds no configuration block.
std::uint16_t ConfigurationSum(const ConfigurationBlock& block);

// The project name in bytes 32 to 46, up to its first NUL.
std::string ConfigurationTitle(const ConfigurationBlock& block);

}  // namespace plc
