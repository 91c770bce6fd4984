#pragma once
// Numbers typed by a technician (counts, indexes, fault arguments): whole decimal numbers, so
// "010" is ten, never eight as the C library's octal rule would have it.
#include <optional>
#include <string_view>

namespace common {

// The number, when text is nothing but decimal digits (a minus sign allowed) and the value
// lies from least to most; otherwise none.
std::optional<long> ReadWholeNumber(std::string_view text, long least, long most);

}  // namespace common
