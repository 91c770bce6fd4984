#include "plc/exchange.h"

#include "plc/frame.h"

namespace plc {

std::string PlcExchange::ReceiveTelegram(int initialState) {
    TelegramReceiver receiver(initialState);
    for (size_t received = 0; received < kMaxReceiveBytes; ++received) {
        auto byte = link_.ReadByte();
        if (!byte) return {};
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
