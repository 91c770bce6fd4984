#pragma once
// The local date and time, for the log's time stamps and the module file dates. Injected
// so tests get fixed times.
#include <ctime>
#include <functional>
#include <string>

namespace plc {

using LocalTimeSource = std::function<std::tm()>;

// The computer's local date and time now.
std::tm CurrentLocalTime();

// The date and time as "%c" prints them in the C locale ("Sat Mar  5 09:26:05 2026"),
// whatever locale the process runs in.
std::string FormatLogTime(const std::tm& time);

}  // namespace plc
