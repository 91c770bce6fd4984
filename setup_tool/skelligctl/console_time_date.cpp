#include "setup_tool/skelligctl/console_time_date.h"

#include "common/format.h"

namespace skelligctl {

ConsoleTimeDate::ConsoleTimeDate(ClockChoice choice, std::FILE* out)
    : ConsoleTimeDate(std::move(choice), [out](const std::string& line) {
          std::fprintf(out, "%s\n", line.c_str());
          std::fflush(out);
      }) {}

std::optional<setup::ClockEntry> ConsoleTimeDate::show(const setup::ClockEntry& prefilled) {
    // The values were checked before the transfer began; should the transfer still find
    // them out of range it asks again, and nobody is there to answer: cancel then.
    if (choice_.skip || shown_) {
        printLine_("Time / Date: not set");
        return std::nullopt;
    }
    shown_ = true;
    setup::ClockEntry entry = ApplyClockChoice(choice_, prefilled);
    const int rule =
        entry.rule >= 0 && entry.rule < static_cast<int>(setup::kDaylightSavingEntries.size())
            ? entry.rule
            : setup::kWithoutTimeSwitch;
    printLine_(common::Format("Time / Date: %s:%s:%s %s.%s.%s %s", entry.hours.c_str(),
                              entry.minutes.c_str(), entry.seconds.c_str(), entry.day.c_str(),
                              entry.month.c_str(), entry.year.c_str(),
                              setup::kDaylightSavingEntries[rule]));
    return entry;
}

}  // namespace skelligctl
