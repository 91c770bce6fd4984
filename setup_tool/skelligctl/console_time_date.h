#pragma once
// The "Time / Date" step of skelligctl: the dialog's answer comes from the command line
// instead of a window, and is printed so the technician sees what the display was set to.
#include <cstdio>

#include "setup_tool/core/clock_setting.h"
#include "setup_tool/skelligctl/options.h"

namespace skelligctl {

class ConsoleTimeDate final : public setup::TimeDateDialog {
  public:
    ConsoleTimeDate(ClockChoice choice, std::FILE* out) : choice_(std::move(choice)), out_(out) {}
    std::optional<setup::ClockEntry> show(const setup::ClockEntry& prefilled) override;

  private:
    ClockChoice choice_;
    std::FILE* out_;
    bool shown_ = false;
};

}  // namespace skelligctl
