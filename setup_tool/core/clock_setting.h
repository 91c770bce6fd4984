#pragma once
// Setting the display's clock: the six texts of the "Time / Date" dialog and its
// daylight-saving choice, their range checks, and the three unanswered clock commands.
#include <array>
#include <functional>
#include <optional>
#include <string>

namespace setup {

// The PC's local time, as the dialog is filled with it.
struct LocalTime {
    int year = 2000;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};
using LocalTimeSource = std::function<LocalTime()>;

// The daylight-saving list of the dialog, in its order.
enum DaylightSaving : int { kSummerTime = 0, kWinterTime = 1, kWithoutTimeSwitch = 2 };
inline constexpr std::array<const char*, 3> kDaylightSavingEntries = {"Summer time", "Winter time",
                                                                      "Withou time-switch"};

// What the dialog holds: six texts as typed and the index of the chosen list entry.
struct ClockEntry {
    std::string hours, minutes, seconds, day, month, year;
    int rule = kSummerTime;
};

// The dialog filled with a local time: "%02d" for hours, minutes, seconds and month, "%d"
// for the day, "%04d" for the year; "Summer time" chosen.
ClockEntry PrefilledEntry(const LocalTime& time);

// The C library's decimal conversion: leading blanks skipped, an optional sign, the digits
// up to the first other character; 0 without digits.
int DecimalValue(const std::string& text);

struct ClockValues {
    int hours = 0, minutes = 0, seconds = 0, day = 1, month = 1, year = 2000;
    int rule = kSummerTime;
};

// The entry's values when each lies in its range (hours 0-23, minutes and seconds 0-59,
// day 1-31, month 1-12, year 2000-2099); nullopt otherwise. The day is not checked
// against the month.
std::optional<ClockValues> CheckedClock(const ClockEntry& entry);

// "@U%02d:%02d:%02d\r", the rule's command ("@US\r", "@UW\r", "@UZ\r" for any other
// index) and "@D%02d.%02d.%02d\r" with the year minus 2000.
std::array<std::string, 3> ClockCommands(const ClockValues& values);

// The "Time / Date" dialog as the transfer sees it: shown filled with an entry, it
// returns what the user confirmed with OK, or nullopt when cancelled.
class TimeDateDialog {
  public:
    virtual ~TimeDateDialog() = default;
    virtual std::optional<ClockEntry> show(const ClockEntry& prefilled) = 0;
};

}  // namespace setup
