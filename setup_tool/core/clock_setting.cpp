#include "setup_tool/core/clock_setting.h"

#include <cctype>
#include <climits>

#include "common/format.h"

namespace setup {

namespace {
constexpr int kCenturyStart = 2000;
constexpr int kCenturyEnd = 2099;

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}
}  // namespace

ClockEntry PrefilledEntry(const LocalTime& t) {
    ClockEntry entry;
    entry.hours = common::Format("%02d", t.hour);
    entry.minutes = common::Format("%02d", t.minute);
    entry.seconds = common::Format("%02d", t.second);
    entry.day = common::Format("%d", t.day);
    entry.month = common::Format("%02d", t.month);
    entry.year = common::Format("%04d", t.year);
    entry.rule = kSummerTime;
    return entry;
}

int DecimalValue(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        // Saturate instead of overflowing: such a value is out of every range anyway.
        if (value < INT_MAX) value = value * 10 + (text[i] - '0');
    }
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(negative ? -value : value);
}

std::optional<ClockValues> CheckedClock(const ClockEntry& entry) {
    ClockValues v;
    v.hours = DecimalValue(entry.hours);
    v.minutes = DecimalValue(entry.minutes);
    v.seconds = DecimalValue(entry.seconds);
    v.day = DecimalValue(entry.day);
    v.month = DecimalValue(entry.month);
    v.year = DecimalValue(entry.year);
    v.rule = entry.rule;
    if (!InRange(v.hours, 0, 23) || !InRange(v.minutes, 0, 59) || !InRange(v.seconds, 0, 59) ||
        !InRange(v.day, 1, 31) || !InRange(v.month, 1, 12) ||
        !InRange(v.year, kCenturyStart, kCenturyEnd))
        return std::nullopt;
    return v;
}

std::array<std::string, 3> ClockCommands(const ClockValues& v) {
    const char* ruleCommand = v.rule == kSummerTime   ? "@US\r"
                              : v.rule == kWinterTime ? "@UW\r"
                                                      : "@UZ\r";
    return {common::Format("@U%02d:%02d:%02d\r", v.hours, v.minutes, v.seconds), ruleCommand,
            common::Format("@D%02d.%02d.%02d\r", v.day, v.month, v.year - kCenturyStart)};
}

}  // namespace setup
