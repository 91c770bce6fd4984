#pragma once
// The check the Protocol dialog makes of its number field when OK is pressed.
#include <string>
#include <variant>

namespace protocol {

inline constexpr char kNotAnIntegerMessage[] = "Geben Sie bitte eine ganze Zahl ein.";
// %1 and %2 are the range's ends, as the dialog framework fills them in.
inline constexpr char kOutOfRangeMessage[] =
    "Geben Sie bitte eine ganze Zahl zwischen %1 und %2 ein.";

// The entry number typed into the field, or the message to show: a text that is not an
// integer (blanks around it are allowed), or a number outside kMinCnt..kMaxCnt.
std::variant<int, std::string> ValidateCnt(const std::string& text);

// kOutOfRangeMessage with the range filled in.
std::string OutOfRangeMessage(int low, int high);

}  // namespace protocol
