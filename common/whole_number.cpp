#include "common/whole_number.h"

#include <charconv>

namespace common {

std::optional<long> ReadWholeNumber(std::string_view text, long least, long most) {
    long value = 0;
    const char* end = text.data() + text.size();
    auto [stop, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || stop != end || value < least || value > most)
        return std::nullopt;
    return value;
}

}  // namespace common
