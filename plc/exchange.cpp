#include "plc/exchange.h"

#include "plc/frame.h"

namespace plc {

common::Millis PlcExchange::ReceptionTimeBound() const {
    return serial::CSerialLink::AnswerTimeBound(link_.Settings(), kLongestTelegram);
}

std::string PlcExchange::ReceiveTelegram(int initialState) {
    TelegramReceiver receiver(initialState);
    const common::Millis deadline = clock_.now() + ReceptionTimeBound();
    for (size_t received = 0; received < kMaxReceiveBytes; ++received) {
        auto byte = link_.ReadByte();
        if (!byte || clock_.now() > deadline) return {};
        if (receiver.feed(*byte)) return receiver.data();
    }
    return {};
}

bool PlcExchange::ReadReply(std::uint8_t& byte, int& count, std::string& telegramData) {
    auto first = link_.ReadByte();
    if (!first || *first == 0x00) return false;
    if (*first == kAcknowledge) {
        byte = kAcknowledge;
        count = 1;
        return true;
    }
    if (*first == kFrameStart) {
        telegramData = ReceiveTelegram(TelegramReceiver::kStateAfterStart);
        count = static_cast<int>(telegramData.size()) + 1;
        return true;
    }
    return true;
}

void PlcExchange::WaitAck() {
    std::uint8_t byte = 0;
    int count = 0;
    std::string telegram;
    if (!ReadReply(byte, count, telegram)) throw CQuarnException(kTimeoutText);
    if (count == 1 && byte == kAcknowledge) return;
    throw CQuarnException(kWrongQuitCharText);
}

void PlcExchange::SendAcknowledged(const std::string& frame) {
    Write(frame);
    Pause(kRequestPause);
    WaitAck();
}

std::string PlcExchange::Request(const std::string& frame) {
    Write(frame);
    Pause(kRequestPause);
    return ReceiveTelegram();
}

}  // namespace plc
