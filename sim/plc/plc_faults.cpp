#include "sim/plc/plc_faults.h"

#include <cstdlib>

#include "sim/plc/answer_builder.h"

namespace sim {

bool PlcFaults::parse(const std::string& kind) {
    const std::string after = "silent-after=";
    if (kind == "silent") {
        silent = true;
    } else if (kind == "wrong-ack") {
        wrongAck = true;
    } else if (kind == "telegram-ack") {
        telegramAck = true;
    } else if (kind == "noise") {
        noise = true;
    } else if (kind == "damaged") {
        damaged = true;
    } else if (kind.rfind(after, 0) == 0 && kind.size() > after.size()) {
        char* end = nullptr;
        long n = std::strtol(kind.c_str() + after.size(), &end, 10);
        if (*end != '\0' || n < 0) return false;
        silentAfter = static_cast<int>(n);
    } else {
        return false;
    }
    return true;
}

std::string PlcFaults::apply(int count, std::uint8_t station, std::uint8_t command,
                             const std::string& reply) const {
    if (reply.empty() || silent) return {};
    if (silentAfter >= 0 && count > silentAfter) return {};
    const bool isAck = reply.size() == 1 && static_cast<std::uint8_t>(reply[0]) == kPlcAck;
    if (isAck) {
        if (wrongAck) return std::string(1, '\x55');
        if (telegramAck) return TelegramAnswer(station, command, std::string(1, '\0'));
        return reply;
    }
    std::string out = reply;
    if (damaged && out.size() > 3) out[3] = '\x67';
    if (noise) out = std::string("\x11\x7F\x13\xA5", 4) + out;
    return out;
}

}  // namespace sim
