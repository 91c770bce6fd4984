#pragma once
// When a file was last read, as the file system keeps it (the module file's date comes from
// it). The one place in the PLC code that asks the operating system for a file's status.
#include <ctime>
#include <filesystem>
#include <optional>

namespace plc {

// The file's last-access time in local time; nullopt when its status can't be read.
std::optional<std::tm> LastAccessLocalTime(const std::filesystem::path& path);

}  // namespace plc
