#include "sim/plc/plc_memory.h"

#include "common/file_helpers.h"

namespace sim {

std::string PlcMemory::read(std::uint16_t segment, std::uint16_t offset, size_t count) const {
    std::string out;
    out.reserve(count);
    for (size_t i = 0; i < count; ++i)
        out += static_cast<char>(bytes_[Linear(segment, static_cast<std::uint16_t>(offset + i))]);
    return out;
}

void PlcMemory::write(std::uint16_t segment, std::uint16_t offset, const std::string& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes_[Linear(segment, static_cast<std::uint16_t>(offset + i))] =
            static_cast<std::uint8_t>(bytes[i]);
    ++changes_;
}

void PlcMemory::setByteAt(std::uint32_t linear, std::uint8_t value) {
    bytes_[linear % kSize] = value;
    ++changes_;
}

std::uint16_t PlcMemory::word16(std::uint16_t address) const {
    return static_cast<std::uint16_t>(bytes_[address] |
                                      (bytes_[static_cast<std::uint16_t>(address + 1)] << 8));
}

void PlcMemory::setWord16(std::uint16_t address, std::uint16_t value) {
    write16(address, std::string{static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)});
}

bool PlcMemory::loadImage(const std::filesystem::path& path, std::string& error) {
    std::optional<std::string> bytes = common::ReadWholeFile(path);
    if (!bytes) {
        error = "cannot read " + path.string();
        return false;
    }
    if (bytes->size() != kSize) {
        error = path.string() + " is not a PLC image (" + std::to_string(bytes->size()) +
                " bytes, expected " + std::to_string(kSize) + ")";
        return false;
    }
    std::copy(bytes->begin(), bytes->end(), bytes_.begin());
    ++changes_;
    return true;
}

bool PlcMemory::saveImage(const std::filesystem::path& path) const {
    return common::WriteFileReplacing(
        path, std::string(reinterpret_cast<const char*>(bytes_.data()), bytes_.size()));
}

}  // namespace sim
