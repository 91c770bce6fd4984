#include "plc/module_header.h"

namespace plc {

std::string HeaderName(const std::uint8_t* header) {
    std::string name;
    for (size_t i = 0; i < header::kMaxNameLength && header[header::kName + i] != 0; ++i)
        name += static_cast<char>(header[header::kName + i]);
    return name;
}

std::uint16_t HeaderWord(const std::uint8_t* header, size_t offset) {
    return static_cast<std::uint16_t>(header[offset] | (header[offset + 1] << 8));
}

void SetHeaderWord(std::uint8_t* header, size_t offset, std::uint16_t value) {
    header[offset] = static_cast<std::uint8_t>(value & 0xFF);
    header[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

}  // namespace plc
