#include "plc/files/local_time.h"

#include <array>

namespace plc {

std::tm CurrentLocalTime() {
    std::time_t now = std::time(nullptr);
    // std::localtime's result is shared storage: copied at once.
    const std::tm* local = std::localtime(&now);
    return local ? *local : std::tm{};
}

std::string FormatLogTime(const std::tm& time) {
    std::array<char, 128> text{};
    size_t n = std::strftime(text.data(), text.size(), "%c", &time);
    return std::string(text.data(), n);
}

}  // namespace plc
