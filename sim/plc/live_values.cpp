#include "sim/plc/live_values.h"

#include <memory>
#include <optional>
#include <sstream>

#include "common/file_helpers.h"

namespace sim {

namespace {

std::string LittleEndian(std::uint32_t value, size_t bytes) {
    std::string out;
    for (size_t i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

std::optional<std::uint32_t> ParseHex(const std::string& text, std::uint32_t most) {
    if (text.empty() || text.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        int digit = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : -1;
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    if (value > most) return std::nullopt;
    return value;
}

struct Place {
    std::uint16_t segment = 0;
    std::uint16_t offset = 0;
};

std::optional<Place> ParsePlace(const std::string& text) {
    size_t colon = text.find(':');
    if (colon == std::string::npos) {
        std::optional<std::uint32_t> address = ParseHex(text, 0xFFFF);
        if (!address) return std::nullopt;
        return Place{0, static_cast<std::uint16_t>(*address)};
    }
    std::optional<std::uint32_t> segment = ParseHex(text.substr(0, colon), 0xFFFF);
    std::optional<std::uint32_t> offset = ParseHex(text.substr(colon + 1), 0xFFFF);
    if (!segment || !offset) return std::nullopt;
    return Place{static_cast<std::uint16_t>(*segment), static_cast<std::uint16_t>(*offset)};
}

// The bytes of an entry after its address; false on a malformed byte or an open quote.
bool ParseBytes(const std::string& text, std::string& bytes) {
    size_t at = 0;
    while (at < text.size()) {
        char c = text[at];
        if (c == ' ' || c == '\t') {
            ++at;
        } else if (c == '"') {
            size_t end = text.find('"', at + 1);
            if (end == std::string::npos) return false;
            bytes += text.substr(at + 1, end - at - 1);
            at = end + 1;
        } else if (c == '#') {
            break;
        } else {
            size_t end = text.find_first_of(" \t\"#", at);
            if (end == std::string::npos) end = text.size();
            std::optional<std::uint32_t> byte = ParseHex(text.substr(at, end - at), 0xFF);
            if (!byte) return false;
            bytes += static_cast<char>(*byte);
            at = end;
        }
    }
    return true;
}

}  // namespace

void ApplyLiveValues(PlcMemory& memory, common::Millis sinceStart) {
    const auto ms = static_cast<std::uint64_t>(sinceStart.count());
    // Only values that moved are written: every write counts as a change of the memory,
    // and a simulator with --image saves its image after changes.
    const auto counter = static_cast<std::uint16_t>(ms / live::kCounterStep.count());
    if (memory.word16(live::kCounterAddress) != counter)
        memory.setWord16(live::kCounterAddress, counter);
    const std::uint8_t toggleByte = memory.byteAt(live::kToggleAddress);
    const auto bit = static_cast<std::uint8_t>((ms / live::kToggleStep.count()) & 1);
    const auto toggled = static_cast<std::uint8_t>((toggleByte & 0xFE) | bit);
    if (toggled != toggleByte) memory.setByteAt(live::kToggleAddress, toggled);
    const std::string ramp =
        LittleEndian(static_cast<std::uint32_t>(ms * live::kRampPerMillisecond), 4);
    if (memory.read16(live::kRampAddress, ramp.size()) != ramp)
        memory.write16(live::kRampAddress, ramp);
}

void InstallLiveValues(PlcMemory& memory) {
    auto start = std::make_shared<std::optional<common::Millis>>();
    memory.setTickHook([start](PlcMemory& m, common::Millis now) {
        if (!*start) *start = now;
        ApplyLiveValues(m, now - **start);
    });
}

bool LoadMemoryFile(const std::filesystem::path& path, PlcMemory& memory, std::string& error) {
    std::optional<std::string> text = common::ReadWholeFile(path);
    if (!text) {
        error = "cannot read " + path.string();
        return false;
    }
    int lineNumber = 0;
    for (const std::string& line : common::SplitTextLines(*text)) {
        ++lineNumber;
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        size_t end = line.find_first_of(" \t", start);
        if (end == std::string::npos) end = line.size();
        std::optional<Place> place = ParsePlace(line.substr(start, end - start));
        std::string bytes;
        if (!place || !ParseBytes(line.substr(end), bytes)) {
            error = path.string() + ":" + std::to_string(lineNumber) +
                    ": expected ADDRESS (or SEGMENT:OFFSET) and hexadecimal bytes or \"texts\"";
            return false;
        }
        memory.write(place->segment, place->offset, bytes);
    }
    return true;
}

}  // namespace sim
