#pragma once
// Paging through the variable list. The page starts at the variable with index TopIndex;
// the keys move it by variables, not cells:
//
//   Page Up      TopIndex - 56, at least 0     Cursor Up    TopIndex - 8, at least 0
//   Page Down    TopIndex + 56                 Cursor Down  TopIndex + 8
//
// Each key first keeps TopIndex in PreviousTopIndex. A TopIndex past the last variable steps
// back to PreviousTopIndex when the next page is built, so Page Down past the end shows the
// same page again. When a page was cut short because its bytes or records did not fit the
// read buffers, Page Down and Cursor Down go no further than the first variable left out,
// so that one starts the next page.
#include <cstddef>
#include <optional>
#include <string_view>

#include "monitor/variable_list.h"

namespace monitor {

enum class PagingKey { kPageUp, kPageDown, kCursorUp, kCursorDown };

inline constexpr int kPageStep = 56;
inline constexpr int kLineStep = 8;

// "up", "down", "pgup", "pgdn".
std::optional<PagingKey> ParsePagingKey(std::string_view name);
std::string_view PagingKeyName(PagingKey key);

class PagePosition {
  public:
    int TopIndex() const { return top_; }
    int PreviousTopIndex() const { return previous_; }

    // Both indices at the start (0 when a display starts from the first variable).
    void Reset(int start = 0);
    void Press(PagingKey key);
    // Before a page is built: a TopIndex that holds no variable becomes PreviousTopIndex.
    void StepBackPastEnd(const VariableList& list);
    // The page now shown ended early at this variable (nullopt: it ended as usual).
    void SetCut(std::optional<size_t> nextVariable) { cut_ = nextVariable; }

  private:
    int top_ = 0;
    int previous_ = 0;
    std::optional<size_t> cut_;
};

}  // namespace monitor
