#include "sim/plc/plc_faults.h"

#include <cstdlib>

#include "sim/plc/answer_builder.h"

namespace sim {

namespace {
// The number after "name=" in kind; false when kind is not name=N with N in 0..high.
bool NumberAfter(const std::string& kind, const std::string& name, long high, int& value) {
    if (kind.rfind(name, 0) != 0 || kind.size() == name.size()) return false;
    char* end = nullptr;
    long n = std::strtol(kind.c_str() + name.size(), &end, 10);
    if (*end != '\0' || n < 0 || n > high) return false;
    value = static_cast<int>(n);
    return true;
}
}  // namespace

bool PlcFaults::parse(const std::string& kind) {
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
    } else if (kind == "assign-zero") {
        assignZero = true;
    } else if (kind.rfind("silent-after=", 0) == 0) {
        return NumberAfter(kind, "silent-after=", 1000000000L, silentAfter);
    } else if (kind.rfind("drop-answer=", 0) == 0) {
        return parseDropAnswer(kind);
    } else if (kind.rfind("bad-checksum=", 0) == 0) {
        return NumberAfter(kind, "bad-checksum=", 63, badChecksum) && badChecksum > 0;
    } else {
        return false;
    }
    return true;
}

bool PlcFaults::parseDropAnswer(const std::string& kind) {
    // "drop-answer=C:N", C a command code (decimal or 0x..), N counted from 1.
    const std::string prefix = "drop-answer=";
    const size_t colon = kind.find(':', prefix.size());
    if (colon == std::string::npos) return false;
    char* end = nullptr;
    const std::string code = kind.substr(prefix.size(), colon - prefix.size());
    const long command = std::strtol(code.c_str(), &end, 0);
    if (code.empty() || *end != '\0' || command < 0 || command > 0xFF) return false;
    int nth = 0;
    if (!NumberAfter(kind.substr(colon + 1), "", 1000000000L, nth) || nth == 0) return false;
    dropCommand = static_cast<int>(command);
    dropNth = nth;
    dropSeen = 0;
    return true;
}

bool PlcFaults::dropsAnswer(std::uint8_t command) const {
    if (dropCommand < 0 || command != dropCommand) return false;
    return ++dropSeen == dropNth;
}

std::string PlcFaults::apply(int count, std::uint8_t station, std::uint8_t command,
                             const std::string& reply) const {
    if (dropsAnswer(command)) return {};
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
