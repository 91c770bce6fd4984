#include "sim/plc/request_parser.h"

namespace sim {

namespace {
constexpr std::uint8_t kStart = 0x68;
constexpr std::uint8_t kEnd = 0x16;
constexpr size_t kHead = 4;  // 68 LE LE 68
}  // namespace

std::optional<PlcRequest> RequestParser::feed(std::uint8_t byte) {
    if (pending_.empty() && byte != kStart) return std::nullopt;  // idle line noise
    pending_ += static_cast<char>(byte);
    if (pending_.size() == kHead) {
        auto le = static_cast<std::uint8_t>(pending_[1]);
        if (pending_[2] != pending_[1] || static_cast<std::uint8_t>(pending_[3]) != kStart ||
            le < 4) {
            ++rejected_;
            pending_.clear();
        }
        return std::nullopt;
    }
    if (pending_.size() > kHead) {
        size_t total = static_cast<size_t>(static_cast<std::uint8_t>(pending_[1])) + 6;
        if (pending_.size() == total) return finish();
    }
    return std::nullopt;
}

std::optional<PlcRequest> RequestParser::feed(std::uint8_t byte, common::Millis at) {
    if (!pending_.empty() && at - lastByteAt_ >= kFrameGap) {
        ++rejected_;
        pending_.clear();
    }
    lastByteAt_ = at;
    return feed(byte);
}

std::optional<PlcRequest> RequestParser::finish() {
    std::string frame;
    frame.swap(pending_);
    unsigned sum = 0;
    for (size_t i = kHead; i + 2 < frame.size(); ++i) sum += static_cast<std::uint8_t>(frame[i]);
    if (static_cast<std::uint8_t>(frame[frame.size() - 2]) != (sum & 0xFF) ||
        static_cast<std::uint8_t>(frame.back()) != kEnd) {
        ++rejected_;
        return std::nullopt;
    }
    PlcRequest request;
    request.station = static_cast<std::uint8_t>(frame[4]);
    request.command = static_cast<std::uint8_t>(frame[7]);
    request.data = frame.substr(8, frame.size() - 10);
    request.frame = frame;
    return request;
}

}  // namespace sim
