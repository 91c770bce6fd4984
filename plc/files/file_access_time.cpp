#include "plc/files/file_access_time.h"

#include <sys/stat.h>
#include <sys/types.h>

namespace plc {

// std::filesystem knows only the modification time, so the access time comes from stat.
#ifdef _WIN32

std::optional<std::tm> LastAccessLocalTime(const std::filesystem::path& path) {
    struct _stat64 status {};
    if (_wstat64(path.c_str(), &status) != 0) return std::nullopt;
    const __time64_t accessed = status.st_atime;
    std::tm local{};
    if (_localtime64_s(&local, &accessed) != 0) return std::nullopt;
    return local;
}

#else

std::optional<std::tm> LastAccessLocalTime(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    const std::time_t accessed = status.st_atime;
    std::tm local{};
    if (::localtime_r(&accessed, &local) == nullptr) return std::nullopt;
    return local;
}

#endif

}  // namespace plc
