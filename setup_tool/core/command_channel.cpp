#include "setup_tool/core/command_channel.h"

#include "setup_tool/core/send_exception.h"

namespace setup {

namespace {
constexpr std::size_t kLetterIndex = 2;         // "@T" then the command's letter
constexpr std::size_t kChecksumAnswerSize = 3;  // letter, checksum low byte, high byte
constexpr const char* kLogin = "@TA\r";
constexpr const char* kLogout = "@Ta\r";
constexpr const char* kLoginAnswer = "A";
constexpr const char* kLogoutAnswer = "a";
}  // namespace

std::int32_t CommandChecksum(const std::string& command) {
    std::uint32_t sum = 0;
    for (std::size_t i = kLetterIndex; i < command.size(); ++i)
        sum += static_cast<unsigned char>(command[i]);
    return static_cast<std::int32_t>(sum & 0xFFFFu);
}

CommandChannel::CommandChannel(serial::CSerialLink& link, common::Frontend& frontend)
    : link_(link), frontend_(frontend) {}

void CommandChannel::SendCommand(const std::string& command) {
    const char letter = command.size() > kLetterIndex ? command[kLetterIndex] : '\0';
    answer_.clear();
    const std::int32_t checksum = CommandChecksum(command);
    link_.Write(command + "\r", serial::WriteEnd::HandedOver);
    link_.ReadAnswer(answer_, true);
    if (answer_.empty()) throw CSendException(kTimeoutText);
    // Only the first three bytes count; whatever follows them is not looked at.
    if (answer_.size() < kChecksumAnswerSize || answer_[0] != letter ||
        static_cast<unsigned char>(answer_[1]) != (checksum & 0xFF) ||
        static_cast<unsigned char>(answer_[2]) != ((checksum >> 8) & 0xFF))
        throw CSendException(kWrongChecksumText);
}

bool CommandChannel::Login() {
    link_.Write(kLogin, serial::WriteEnd::HandedOver);
    link_.ReadAnswer(answer_, false);
    if (answer_.size() != 1) {
        frontend_.message(kNoConnectionText);
        return false;
    }
    if (answer_ != kLoginAnswer) {
        frontend_.message(kNoLoginText);
        return false;
    }
    return true;
}

bool CommandChannel::Logout(bool showReady) {
    link_.Write(kLogout, serial::WriteEnd::HandedOver);
    link_.ReadAnswer(answer_, false);
    if (answer_ != kLogoutAnswer) {
        frontend_.message(kNoConnectionText);
        return false;
    }
    if (showReady) frontend_.setStatus(kReadyText);
    return true;
}

void CommandChannel::WriteUnacknowledged(const std::string& command) {
    // Nothing answers it: the next command goes out only when this one has left the port.
    link_.Write(command, serial::WriteEnd::Drained);
}

}  // namespace setup
