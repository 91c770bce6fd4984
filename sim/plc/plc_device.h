#pragma once
// The simulated PLC: answers the requests addressed to its station from its own state.
#include <array>
#include <cstdint>
#include <string>

#include "sim/plc/module_store.h"
#include "sim/plc/plc_faults.h"
#include "sim/plc/plc_memory.h"
#include "sim/plc/request_parser.h"

namespace sim {

// The information block the simulated PLC reports (command 0x2F), 246 bytes.
//   1 variant, 2 read generation, 4 directory address, 6 configuration segment,
//   8 page size, 54 INDMW segment, 70 INDXW segment (words little-endian).
struct SimInfoBlock {
    static constexpr size_t kSize = 246;
    std::array<std::uint8_t, kSize> bytes{};
    SimInfoBlock();
    std::uint16_t word(size_t offset) const;
    void setWord(size_t offset, std::uint16_t value);
};

class PlcDevice {
  public:
    PlcDevice(std::uint8_t station, std::uint8_t firmwareMajor, std::uint8_t firmwareMinor);
    PlcDevice(const PlcDevice&) = delete;
    PlcDevice& operator=(const PlcDevice&) = delete;

    // The reply bytes for a request: 0xE5, an answer telegram, or empty (not addressed to
    // this station, or a command the PLC does not know).
    std::string handle(const PlcRequest& request);

    std::uint8_t station() const { return station_; }
    std::uint16_t flagsWord() const { return flagsWord_; }
    bool running() const { return running_; }
    int resets() const { return resets_; }
    SimInfoBlock& infoBlock() { return infoBlock_; }
    PlcMemory& memory() { return memory_; }
    ModuleStore& modules() { return modules_; }
    void setMemoryFaults(PlcMemoryFaults faults);

  private:
    std::string identifyAnswer() const;
    // The memory and module commands (plc_device_memory.cpp); empty for a malformed request.
    std::string handleMemory(const PlcRequest& request);
    std::string readAnswer(const PlcRequest& request);
    std::string listAnswer(std::uint8_t command, const std::string& data);
    std::string writeAnswer(const PlcRequest& request);
    std::string reserveAnswer(const PlcRequest& request);
    std::string headerAnswer(const PlcRequest& request);
    std::uint8_t station_;
    std::uint8_t firmwareMajor_;
    std::uint8_t firmwareMinor_;
    std::uint16_t flagsWord_ = 0;
    bool running_ = true;
    int resets_ = 0;
    int eepromStep_ = 0;
    SimInfoBlock infoBlock_;
    PlcMemory memory_;
    ModuleStore modules_;
    PlcMemoryFaults memoryFaults_;
    int blockWrites_ = 0;
    std::uint8_t lastListCommand_ = 0;
    std::string lastListRequest_;  // repeated by commands 0x03 and 0x0C
};

}  // namespace sim
