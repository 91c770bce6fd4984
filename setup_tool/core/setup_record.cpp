#include "setup_tool/core/setup_record.h"

#include <algorithm>
#include <fstream>

namespace setup {

DisplayVariant VariantOf(std::uint8_t variantByte) {
    switch (variantByte) {
        case 1:
            return {2, 64};
        case 2:
            return {2, 128};
        case 3:
            return {2, 256};
        case 4:
            return {6, 512};
        case 5:
            return {2, 1536};
        default:
            return {2, 0};
    }
}

SetupRecord SetupRecord::FromBytes(const std::string& bytes) {
    SetupRecord record;
    const std::size_t n = std::min(bytes.size(), layout::kRecordSize);
    for (std::size_t i = 0; i < n; ++i) record.bytes_[i] = static_cast<std::uint8_t>(bytes[i]);
    return record;
}

TableEntry SetupRecord::entry(std::size_t tableOffset, int index) const {
    const std::size_t at = tableOffset + static_cast<std::size_t>(index) * TableEntry::kSize;
    TableEntry e;
    e.flags = byte(at + TableEntry::kFlagsOffset);
    e.value = byte(at + TableEntry::kValueOffset);
    e.number = word(at + TableEntry::kNumberOffset);
    return e;
}

std::optional<SetupRecord> ReadSetupRecord(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(layout::kRecordSize, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return SetupRecord::FromBytes(bytes);
}

}  // namespace setup
