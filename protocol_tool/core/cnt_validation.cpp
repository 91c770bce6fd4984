#include "protocol_tool/core/cnt_validation.h"

#include <cctype>
#include <charconv>

#include "protocol_tool/core/protocol_commands.h"

namespace protocol {

namespace {
bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

void Replace(std::string& text, const std::string& what, const std::string& with) {
    auto at = text.find(what);
    if (at != std::string::npos) text.replace(at, what.size(), with);
}
}  // namespace

std::string OutOfRangeMessage(int low, int high) {
    std::string text = kOutOfRangeMessage;
    Replace(text, "%1", std::to_string(low));
    Replace(text, "%2", std::to_string(high));
    return text;
}

std::variant<int, std::string> ValidateCnt(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    const char* first = text.data() + begin;
    const char* last = text.data() + end;
    if (first != last && *first == '+') ++first;  // from_chars takes only a minus sign
    long long value = 0;
    auto [stop, error] = std::from_chars(first, last, value);
    if (first == last || stop != last) return std::string(kNotAnIntegerMessage);
    if (error != std::errc() || value < kMinCnt || value > kMaxCnt)
        return OutOfRangeMessage(kMinCnt, kMaxCnt);
    return static_cast<int>(value);
}

}  // namespace protocol
