#include "sim/plc/plc_device.h"

#include "sim/plc/answer_builder.h"

namespace sim {

namespace {
// Command codes the simulated PLC answers.
constexpr std::uint8_t kStart = 0x20;
constexpr std::uint8_t kReset = 0x24;
constexpr std::uint8_t kSetFlags = 0x27;
constexpr std::uint8_t kIdentify = 0x2E;
constexpr std::uint8_t kInfoBlock = 0x2F;
constexpr std::uint8_t kEepromFirst = 0x4A;
constexpr std::uint8_t kEepromSecond = 0x4B;
ModuleLayout LayoutOf(const SimInfoBlock& info) {
    ModuleLayout layout;
    layout.directoryAddress = info.word(4);
    layout.configurationSegment = info.word(6);
    layout.pageSize = info.word(8);
    return layout;
}
}  // namespace

SimInfoBlock::SimInfoBlock() {
    bytes[1] = 2;         // variant: takes functions and data blocks alike
    bytes[2] = 2;         // list reads with 0x0D
    setWord(4, 0x1000);   // directory
    setWord(6, 0x6000);   // configuration segment
    setWord(8, 0x0400);   // page size
    setWord(54, 0x0400);  // INDMW segment
    setWord(70, 0x3000);  // INDXW segment
}

std::uint16_t SimInfoBlock::word(size_t offset) const {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

void SimInfoBlock::setWord(size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

PlcDevice::PlcDevice(std::uint8_t station, std::uint8_t firmwareMajor, std::uint8_t firmwareMinor)
    : station_(station),
      firmwareMajor_(firmwareMajor),
      firmwareMinor_(firmwareMinor),
      modules_(memory_, LayoutOf(infoBlock_)) {
    // An empty PLC: the system pages start the page map.
    modules_.tidyMap();
}

std::string PlcDevice::identifyAnswer() const {
    // Two bytes the PC ignores, the firmware version, two words the PC ignores.
    return std::string{'\x01',
                       '\x00',
                       static_cast<char>(firmwareMajor_),
                       static_cast<char>(firmwareMinor_),
                       '\x00',
                       '\x01',
                       '\x00',
                       '\x00'};
}

std::string PlcDevice::handle(const PlcRequest& request) {
    if (request.station != station_) return {};
    switch (request.command) {
        case kIdentify:
            return TelegramAnswer(station_, request.command, identifyAnswer());
        case kInfoBlock:
            return TelegramAnswer(station_, request.command,
                                  std::string(infoBlock_.bytes.begin(), infoBlock_.bytes.end()));
        case kReset:
            ++resets_;
            running_ = false;
            return AckAnswer();
        case kStart:
            running_ = true;
            return AckAnswer();
        case kSetFlags:
            if (request.data.size() >= 2)
                flagsWord_ =
                    static_cast<std::uint16_t>(static_cast<std::uint8_t>(request.data[0]) |
                                               (static_cast<std::uint8_t>(request.data[1]) << 8));
            return AckAnswer();
        case kEepromFirst:
            eepromStep_ = 1;
            return AckAnswer();
        case kEepromSecond:
            eepromStep_ = 2;
            return AckAnswer();
        default:
            return handleMemory(request);
    }
}

}  // namespace sim
