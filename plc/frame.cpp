#include "plc/frame.h"

namespace plc {

void ComposeHeader(TelegramBuffer& buffer, std::uint8_t length, std::uint8_t station,
                   std::uint8_t commandCode) {
    buffer[0] = kFrameStart;
    buffer[kOffsetLength] = length;
    buffer[kOffsetLengthAgain] = length;
    buffer[3] = kFrameStart;
    buffer[kOffsetDestination] = station;
    buffer[kOffsetSource] = kSourceAddress;
    buffer[kOffsetFunction] = kFunctionByte;
    buffer[kOffsetCommand] = commandCode;
}

std::string BuildTelegram(const TelegramBuffer& buffer) {
    size_t size = static_cast<size_t>(buffer[kOffsetLength]) + kLengthOverhead;
    return std::string(reinterpret_cast<const char*>(buffer.data()), size);
}

std::uint8_t FrameChecksum(const std::string& frame) {
    unsigned sum = 0;
    for (size_t i = kOffsetDestination; i < frame.size(); ++i)
        sum += static_cast<unsigned char>(frame[i]);
    return static_cast<std::uint8_t>(sum & 0xFF);
}

void AppendChecksum(std::string& frame) {
    std::uint8_t fcs = FrameChecksum(frame);
    frame += static_cast<char>(fcs);
    frame += static_cast<char>(kFrameEnd);
}

std::string MakeFrame(std::uint8_t station, std::uint8_t commandCode, const std::string& data) {
    TelegramBuffer buffer{};
    ComposeHeader(buffer, static_cast<std::uint8_t>(kLengthOverhead + data.size()), station,
                  commandCode);
    std::string frame = BuildTelegram(buffer);
    frame.replace(kOffsetData, data.size(), data);
    AppendChecksum(frame);
    return frame;
}

}  // namespace plc
