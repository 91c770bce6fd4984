#include "monitor/variable_type.h"

namespace monitor {

std::optional<VariableType> FindTypeKeyword(std::string_view keyword) {
    for (int code = 0; code < kTypeKeywordCount; ++code)
        if (kTypeKeywords[code] == keyword) return static_cast<VariableType>(code);
    return std::nullopt;
}

std::string_view TypeKeyword(VariableType type) {
    auto code = static_cast<int>(type);
    return code < kTypeKeywordCount ? kTypeKeywords[code] : std::string_view();
}

}  // namespace monitor
