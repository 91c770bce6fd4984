#include "wire_floor.h"

namespace bench {

namespace {
constexpr int kBitsPerCharacter = 11;
constexpr std::size_t kLoginAnswer = 2;      // "A\r" or "a\r"
constexpr std::size_t kAcknowledgement = 4;  // letter, checksum low and high, "\r"

std::size_t AnswerLength(const std::string& command) {
    if (command == "@TA\r" || command == "@Ta\r") return kLoginAnswer;
    if (command.rfind("@T", 0) == 0) return kAcknowledgement;
    return 0;
}
}  // namespace

WireFloor FloorOf(const std::deque<std::string>& transmitRecord, int baud) {
    WireFloor floor;
    for (const std::string& entry : transmitRecord) {
        if (entry.empty() || entry[0] != '>') continue;  // failed writes never reached the line
        const std::string command = entry.substr(1);
        floor.commandCharacters += command.size();
        floor.answerCharacters += AnswerLength(command);
    }
    const double characters = static_cast<double>(floor.commandCharacters + floor.answerCharacters);
    floor.time = std::chrono::duration<double>(characters * kBitsPerCharacter / baud);
    return floor;
}

}  // namespace bench
