#pragma once
// What the PLC sends back: the acknowledgement byte, or an answer telegram
//   68 LE LE 68 FF station 08 command data... FCS 16
// (destination the PC at 0xFF, source the PLC's station, function 0x08 for an answer).
#include <cstdint>
#include <string>

namespace sim {

constexpr std::uint8_t kPlcAck = 0xE5;
constexpr std::uint8_t kAnswerFunction = 0x08;
constexpr std::uint8_t kPcAddress = 0xFF;

std::string AckAnswer();
std::string TelegramAnswer(std::uint8_t station, std::uint8_t command, const std::string& data);

}  // namespace sim
