#include "protocol_tool/core/file_access.h"

#include <fstream>

#include "common/file_helpers.h"

namespace protocol {

namespace fs = std::filesystem;

std::optional<std::string> ReadProtocolFile(const fs::path& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) return std::nullopt;
    return common::ReadWholeFile(path);
}

fs::path WriteTarget(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    fs::path resolved = fs::weakly_canonical(path, ec);
    return ec ? path : resolved;
}

bool CanReplace(const fs::path& target) {
    std::error_code ec;
    if (!fs::exists(target, ec)) return !ec;
    if (fs::is_directory(target, ec)) return false;
    std::ofstream probe(target, std::ios::binary | std::ios::app);
    return probe.is_open();
}

WriteResult WriteReplacing(const fs::path& path, const std::string& bytes) {
    const fs::path target = WriteTarget(path);
    if (!CanReplace(target)) return WriteResult::NotCreated;
    common::ReplacingFile file(target);
    if (!file.open()) return WriteResult::NotCreated;
    if (!file.append(bytes) || !file.commit()) return WriteResult::WriteFailed;
    return WriteResult::Written;
}

}  // namespace protocol
