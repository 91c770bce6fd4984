#include "monitor/paging.h"

#include <algorithm>

namespace monitor {

namespace {
struct KeyName {
    PagingKey key;
    std::string_view name;
};
constexpr KeyName kKeyNames[] = {
    {PagingKey::kCursorUp, "up"},
    {PagingKey::kCursorDown, "down"},
    {PagingKey::kPageUp, "pgup"},
    {PagingKey::kPageDown, "pgdn"},
};
}  // namespace

std::optional<PagingKey> ParsePagingKey(std::string_view name) {
    for (const KeyName& entry : kKeyNames)
        if (entry.name == name) return entry.key;
    return std::nullopt;
}

std::string_view PagingKeyName(PagingKey key) {
    for (const KeyName& entry : kKeyNames)
        if (entry.key == key) return entry.name;
    return {};
}

void PagePosition::Reset(int start) {
    top_ = previous_ = std::max(start, 0);
    cut_.reset();
}

void PagePosition::Press(PagingKey key) {
    previous_ = top_;
    switch (key) {
        case PagingKey::kPageUp:
            top_ = std::max(top_ - kPageStep, 0);
            break;
        case PagingKey::kPageDown:
            top_ += kPageStep;
            break;
        case PagingKey::kCursorUp:
            top_ = std::max(top_ - kLineStep, 0);
            break;
        case PagingKey::kCursorDown:
            top_ += kLineStep;
            break;
    }
    const bool forward = key == PagingKey::kPageDown || key == PagingKey::kCursorDown;
    if (forward && cut_ && static_cast<size_t>(top_) > *cut_) top_ = static_cast<int>(*cut_);
    // The cut belongs to the page on the screen; a second key in the same cycle moves on
    // from wherever the first one went.
    cut_.reset();
}

void PagePosition::StepBackPastEnd(const VariableList& list) {
    if (!list.holds(top_)) top_ = previous_;
}

}  // namespace monitor
