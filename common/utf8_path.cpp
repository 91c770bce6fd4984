#include "common/utf8_path.h"

#include <system_error>

namespace common {

std::filesystem::path PathFromUtf8(const std::string& utf8) {
    try {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    } catch (const std::system_error&) {
        // Only where the path is wide (Windows): the bytes are no UTF-8.
        return std::filesystem::path(utf8);
    }
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

}  // namespace common
