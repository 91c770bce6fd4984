#include "plc/transfer/module_address.h"

namespace plc {

BlockDescriptor ModuleCodeBlock(const ModuleEntry& entry, const InfoBlock& info) {
    const std::uint32_t linear =
        static_cast<std::uint32_t>(entry.startPage()) * info.pageSize() +
        static_cast<std::uint32_t>(info.configurationSegment()) * address::kParagraph;
    return BlockDescriptor{
        static_cast<std::uint16_t>(linear % address::kSegmentSpan), entry.codeLength(),
        static_cast<std::uint16_t>(linear / address::kSegmentSpan * address::kSegmentsPerSpan)};
}

std::uint8_t StartPageAt(std::uint16_t codeSegment, std::uint16_t codeOffset,
                         std::uint16_t configurationSegment, std::uint16_t pageSize) {
    const std::uint32_t linear =
        (static_cast<std::uint32_t>(codeSegment) - configurationSegment) * address::kParagraph +
        codeOffset;
    return static_cast<std::uint8_t>(pageSize == 0 ? 0 : linear / pageSize);
}

}  // namespace plc
