#pragma once
// The program's one status line. Operations put a text into it and have it drawn before
// they go on; an empty text leaves the previous one and draws it again.
#include <cstddef>
#include <string>

#include "common/frontend.h"

namespace protocol {

class StatusLine {
  public:
    // The status text buffer: up to 259 characters and the terminating zero.
    static constexpr std::size_t kStatusTextSize = 260;
    static constexpr std::size_t kMaxStatusLength = kStatusTextSize - 1;

    explicit StatusLine(common::Frontend& frontend) : frontend_(frontend) {}

    // SetStatus: a text that isn't empty replaces StatusText, clipped to kMaxStatusLength
    // bytes; then the line is drawn.
    void Set(const std::string& text);
    // A line received from the display, shown without its line end. The line end makes it
    // a text that isn't empty, so an empty line empties the status line.
    void SetReceivedLine(const std::string& line);
    const std::string& Text() const { return text_; }

  private:
    common::Frontend& frontend_;
    std::string text_;
};

}  // namespace protocol
