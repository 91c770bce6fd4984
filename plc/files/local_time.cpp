#include "plc/files/local_time.h"

#include <array>

#include "common/format.h"

namespace plc {

std::tm CurrentLocalTime() {
    std::time_t now = std::time(nullptr);
    // std::localtime's result is shared storage: copied at once.
    const std::tm* local = std::localtime(&now);
    return local ? *local : std::tm{};
}

std::string FormatLogTime(const std::tm& time) {
    // The C locale's "%c", spelled out here: strftime would follow whatever locale the
    // process runs in (the Qt program's is the desktop's), and the log must read the same
    // from every front end.
    static constexpr std::array<const char*, 7> kDays{"Sun", "Mon", "Tue", "Wed",
                                                      "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    auto name = [](const auto& names, int index) {
        return index >= 0 && static_cast<size_t>(index) < names.size() ? names[index] : "???";
    };
    return common::Format("%s %s %2d %02d:%02d:%02d %d", name(kDays, time.tm_wday),
                          name(kMonths, time.tm_mon), time.tm_mday, time.tm_hour, time.tm_min,
                          time.tm_sec, time.tm_year + 1900);
}

}  // namespace plc
