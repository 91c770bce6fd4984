#include "protocol_tool/core/file_access.h"

#include "common/file_helpers.h"

namespace protocol {

namespace fs = std::filesystem;

std::optional<std::string> ReadProtocolFile(const fs::path& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) return std::nullopt;
    return common::ReadWholeFile(path);
}

}  // namespace protocol
