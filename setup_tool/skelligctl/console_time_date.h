#pragma once
// The "Time / Date" step of skelligctl: the dialog's answer comes from the command line
// instead of a window, and is printed so the technician sees what the display was set to.
#include <cstdio>
#include <functional>
#include <string>

#include "setup_tool/core/clock_setting.h"
#include "setup_tool/skelligctl/options.h"

namespace skelligctl {

class ConsoleTimeDate final : public setup::TimeDateDialog {
  public:
    // Where the printed line goes: the console front end, so that it follows a progress line
    // instead of running into it.
    using LinePrinter = std::function<void(const std::string&)>;
    ConsoleTimeDate(ClockChoice choice, LinePrinter printLine)
        : choice_(std::move(choice)), printLine_(std::move(printLine)) {}
    // Straight into a file.
    ConsoleTimeDate(ClockChoice choice, std::FILE* out);
    std::optional<setup::ClockEntry> show(const setup::ClockEntry& prefilled) override;

  private:
    ClockChoice choice_;
    LinePrinter printLine_;
    bool shown_ = false;
};

}  // namespace skelligctl
