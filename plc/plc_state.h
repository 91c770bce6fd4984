#pragma once
// What the program knows about the PLC, kept for the whole run and shared by every
// operation: the address it answers at, its firmware, its flags word and information block,
// its directory, module table and configuration block.
#include <array>
#include <cstdint>
#include <string>

#include "plc/frame.h"
#include "plc/info_block.h"
#include "plc/module_table.h"

namespace plc {

constexpr size_t kDirectorySize = 279;
constexpr size_t kConfigurationBlockSize = 512;

struct PlcState {
    // Destination of every telegram; set by the station search.
    std::uint8_t stationAddress = 0;
    std::uint8_t firmwareMajor = 0;
    std::uint8_t firmwareMinor = 0;
    // Sent with command 0x27; filled when the PLC directory is read.
    std::uint16_t flagsWord = 0;
    InfoBlock infoBlock;
    // Set once the PLC directory has been read; never cleared.
    bool identified = false;
    // Requests are composed here; bytes a request does not set keep their earlier values.
    TelegramBuffer telegram{};

    std::array<std::uint8_t, kDirectorySize> directory{};
    ModuleTable modules;
    std::array<std::uint8_t, kConfigurationBlockSize> configurationBlock{};
    std::string titleText;
};

}  // namespace plc
