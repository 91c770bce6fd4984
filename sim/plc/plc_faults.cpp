#include "sim/plc/plc_faults.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "common/whole_number.h"
#include "sim/plc/answer_builder.h"

namespace sim {

namespace {
constexpr long kMostCount = 1000000000L;
constexpr long kMostModule = 63;
constexpr long kMostCommand = 0xFF;
constexpr std::string_view kHexPrefix = "0x";
constexpr int kHexBase = 16;

// The number after "name" in kind; false when kind is not name followed by a whole decimal
// number from least to most.
bool NumberAfter(const std::string& kind, std::string_view name, long least, long most,
                 int& value) {
    if (kind.rfind(name, 0) != 0) return false;
    const std::optional<long> n =
        common::ReadWholeNumber(std::string_view(kind).substr(name.size()), least, most);
    if (!n) return false;
    value = static_cast<int>(*n);
    return true;
}

// A command code: decimal as every number the tools read, or hexadecimal after "0x" as the
// codes are written in the protocol's tables.
std::optional<long> CommandCode(std::string_view text) {
    if (text.size() > kHexPrefix.size() && (text.substr(0, kHexPrefix.size()) == kHexPrefix ||
                                            text.substr(0, kHexPrefix.size()) == "0X")) {
        text.remove_prefix(kHexPrefix.size());
        long value = 0;
        const char* end = text.data() + text.size();
        auto [stop, ec] = std::from_chars(text.data(), end, value, kHexBase);
        if (ec != std::errc() || stop != end || value < 0 || value > kMostCommand)
            return std::nullopt;
        return value;
    }
    return common::ReadWholeNumber(text, 0, kMostCommand);
}
}  // namespace

bool PlcFaults::parse(const std::string& kind) {
    if (kind == "silent") {
        wire.silent = true;
    } else if (kind == "wrong-ack") {
        wire.wrongAck = true;
    } else if (kind == "telegram-ack") {
        wire.telegramAck = true;
    } else if (kind == "noise") {
        wire.noise = true;
    } else if (kind == "damaged") {
        wire.damaged = true;
    } else if (kind == "assign-zero") {
        memory.assignZero = true;
    } else if (kind.rfind("silent-after=", 0) == 0) {
        return NumberAfter(kind, "silent-after=", 0, kMostCount, wire.silentAfter);
    } else if (kind.rfind("drop-answer=", 0) == 0) {
        return parseDropAnswer(kind);
    } else if (kind.rfind("bad-checksum=", 0) == 0) {
        return NumberAfter(kind, "bad-checksum=", 1, kMostModule, memory.badChecksum);
    } else if (kind.rfind("corrupt-write=", 0) == 0) {
        return NumberAfter(kind, "corrupt-write=", 1, kMostCount, memory.corruptWrite);
    } else {
        return false;
    }
    return true;
}

bool PlcFaults::parseDropAnswer(const std::string& kind) {
    // "drop-answer=C:N", N counted from 1.
    const std::string_view prefix = "drop-answer=";
    const size_t colon = kind.find(':', prefix.size());
    if (colon == std::string::npos) return false;
    const std::optional<long> command =
        CommandCode(std::string_view(kind).substr(prefix.size(), colon - prefix.size()));
    int nth = 0;
    if (!command || !NumberAfter(kind.substr(colon + 1), "", 1, kMostCount, nth)) return false;
    wire.dropCommand = static_cast<int>(*command);
    wire.dropNth = nth;
    dropSeen_ = 0;
    return true;
}

bool PlcFaults::dropsAnswer(std::uint8_t command) {
    if (wire.dropCommand < 0 || command != wire.dropCommand) return false;
    return ++dropSeen_ == wire.dropNth;
}

std::string PlcFaults::apply(int count, std::uint8_t station, std::uint8_t command,
                             const std::string& reply) {
    if (dropsAnswer(command)) return {};
    if (reply.empty() || wire.silent) return {};
    if (wire.silentAfter >= 0 && count > wire.silentAfter) return {};
    const bool isAck = reply.size() == 1 && static_cast<std::uint8_t>(reply[0]) == kPlcAck;
    if (isAck) {
        if (wire.wrongAck) return std::string(1, '\x55');
        if (wire.telegramAck) return TelegramAnswer(station, command, std::string(1, '\0'));
        return reply;
    }
    std::string out = reply;
    if (wire.damaged && out.size() > 3) out[3] = '\x67';
    if (wire.noise) out = std::string("\x11\x7F\x13\xA5", 4) + out;
    return out;
}

}  // namespace sim
