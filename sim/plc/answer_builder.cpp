#include "sim/plc/answer_builder.h"

namespace sim {

std::string AckAnswer() {
    return std::string(1, static_cast<char>(kPlcAck));
}

std::string TelegramAnswer(std::uint8_t station, std::uint8_t command, const std::string& data) {
    const auto le = static_cast<char>(4 + data.size());
    std::string frame{'\x68',
                      le,
                      le,
                      '\x68',
                      static_cast<char>(kPcAddress),
                      static_cast<char>(station),
                      static_cast<char>(kAnswerFunction),
                      static_cast<char>(command)};
    frame += data;
    unsigned sum = 0;
    for (size_t i = 4; i < frame.size(); ++i) sum += static_cast<std::uint8_t>(frame[i]);
    frame += static_cast<char>(sum & 0xFF);
    frame += '\x16';
    return frame;
}

}  // namespace sim
