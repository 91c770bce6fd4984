#include "sim/plc/module_store.h"

#include <algorithm>

namespace sim {

namespace {
constexpr std::uint8_t kKindMask = 0xC0;
constexpr std::uint8_t kNumberMask = 0x3F;
constexpr std::uint8_t kSystemKind = 0x40;
constexpr std::uint8_t kAbsoluteKind = 0xC0;
constexpr std::uint8_t kRelativeKind = 0x80;
constexpr size_t kHeaderDirectoryCode = 28;
constexpr size_t kHeaderCodeLength = 30;
constexpr size_t kSecondHalf = 128;
}  // namespace

bool ModuleStore::isSystemPage(size_t page) const {
    const size_t limit = layout_.pageSize ? 1024 / layout_.pageSize - 1 : 0;
    return page <= limit + 1 || page == kSecondHalf || page == limit + kSecondHalf;
}

bool ModuleStore::isFree(size_t page) const {
    const std::uint8_t b = pageByte(page);
    return !isSystemPage(page) && ((b & kKindMask) == kSystemKind || (b & 0x7F) == 0);
}

void ModuleStore::setPageByte(size_t page, std::uint8_t value) {
    memory_.setByteAt(PlcMemory::Linear(0, directoryByteAddress(page)), value);
}

void ModuleStore::tidyMap() {
    size_t last = 0;
    for (size_t page = 0; page < ModuleLayout::kPages; ++page)
        if (!isSystemPage(page) && !isFree(page)) last = page;
    for (size_t page = 0; page < ModuleLayout::kPages; ++page) {
        if (!isSystemPage(page) && !isFree(page)) continue;
        // Free and system pages inside the map keep it going; after the last module it ends.
        const bool inside = page < last || (isSystemPage(page) && page < kSecondHalf);
        setPageByte(page, inside ? kSystemKind : 0);
    }
}

std::uint16_t ModuleStore::headerAddress(std::uint8_t number) const {
    return static_cast<std::uint16_t>(layout_.headerArea + ModuleLayout::kHeaderSize * number);
}

std::string ModuleStore::header(std::uint8_t number) const {
    return memory_.read16(headerAddress(number), ModuleLayout::kHeaderSize);
}

std::optional<size_t> ModuleStore::firstPage(std::uint8_t number) const {
    for (size_t page = 0; page < ModuleLayout::kPages; ++page)
        if (!isSystemPage(page) && !isFree(page) && (pageByte(page) & kNumberMask) == number)
            return page;
    return std::nullopt;
}

std::vector<std::uint8_t> ModuleStore::numbers() const {
    std::vector<std::uint8_t> out;
    for (size_t page = 0; page < ModuleLayout::kPages; ++page) {
        if (isSystemPage(page) || isFree(page)) continue;
        const auto number = static_cast<std::uint8_t>(pageByte(page) & kNumberMask);
        if (std::find(out.begin(), out.end(), number) == out.end()) out.push_back(number);
    }
    return out;
}

void ModuleStore::remove(std::uint8_t number) {
    if (number == 0 || number > ModuleLayout::kMaxNumber) return;
    for (size_t page = 0; page < ModuleLayout::kPages; ++page)
        if (!isSystemPage(page) && !isFree(page) && (pageByte(page) & kNumberMask) == number)
            setPageByte(page, kSystemKind);
    memory_.write16(headerAddress(number), std::string(ModuleLayout::kHeaderSize, '\0'));
    tidyMap();
}

ModulePlace ModuleStore::reserve(std::uint8_t requested, std::uint16_t codeLength) {
    std::uint8_t number = requested;
    if (number == 0 || number > ModuleLayout::kMaxNumber) {
        const std::vector<std::uint8_t> used = numbers();
        number = 0;
        for (int n = 1; n <= ModuleLayout::kMaxNumber && number == 0; ++n)
            if (std::find(used.begin(), used.end(), n) == used.end())
                number = static_cast<std::uint8_t>(n);
        if (number == 0) return {};
    }
    // A module already holding the number is replaced: its pages count as free.
    auto usable = [&](size_t page) {
        return isFree(page) || (!isSystemPage(page) && (pageByte(page) & kNumberMask) == number);
    };
    const size_t pages =
        std::max<size_t>(1, (codeLength + layout_.pageSize - 1) / layout_.pageSize);
    for (size_t first = 0; first + pages <= ModuleLayout::kPages; ++first) {
        bool room = true;
        for (size_t p = first; p < first + pages && room; ++p) room = usable(p);
        if (!room) continue;
        remove(number);
        for (size_t p = first; p < first + pages; ++p)
            setPageByte(p, static_cast<std::uint8_t>(kAbsoluteKind | number));
        tidyMap();
        memory_.write16(headerAddress(number), std::string(ModuleLayout::kHeaderSize, '\0'));
        ModulePlace place;
        place.number = number;
        const std::uint32_t linear = PlcMemory::Linear(layout_.configurationSegment, 0) +
                                     static_cast<std::uint32_t>(first) * layout_.pageSize;
        place.codeSegment = static_cast<std::uint16_t>(linear / 16);
        place.codeOffset = static_cast<std::uint16_t>(linear % 16);
        place.headerOffset = headerAddress(number);
        place.headerSegment = 0;
        return place;
    }
    return {};
}

void ModuleStore::noteHeaderWrite(std::uint16_t segment, std::uint16_t offset, size_t count) {
    const std::uint32_t start = PlcMemory::Linear(segment, offset);
    const std::uint32_t area = PlcMemory::Linear(0, layout_.headerArea);
    for (int number = 1; number <= ModuleLayout::kMaxNumber; ++number) {
        const std::uint32_t at =
            area + ModuleLayout::kHeaderSize * static_cast<std::uint32_t>(number);
        // The header is complete when this write covered its last byte.
        const std::uint32_t lastByte = at + ModuleLayout::kHeaderSize - 1;
        if (lastByte < start || lastByte >= start + count) continue;
        const std::uint8_t code = memory_.byteAt(at + kHeaderDirectoryCode);
        const std::uint8_t kind = code & kKindMask;
        if ((code & kNumberMask) != number || (kind != kAbsoluteKind && kind != kRelativeKind))
            continue;
        for (size_t page = 0; page < ModuleLayout::kPages; ++page)
            if (!isSystemPage(page) && !isFree(page) && (pageByte(page) & kNumberMask) == number)
                setPageByte(page, static_cast<std::uint8_t>(kind | number));
    }
}

void ModuleStore::noteConfigurationWrite() {
    memory_.setByteAt(
        PlcMemory::Linear(0, directoryByteAddress(ModuleLayout::kConfigurationPresent)), 1);
    tidyMap();
}

void ModuleStore::spoilChecksum(std::uint8_t number) {
    const std::optional<size_t> page = firstPage(number);
    if (!page) return;
    const std::string head = header(number);
    const size_t length = static_cast<std::uint8_t>(head[kHeaderCodeLength]) |
                          (static_cast<std::uint8_t>(head[kHeaderCodeLength + 1]) << 8);
    if (length < 2) return;
    const std::uint32_t code = PlcMemory::Linear(layout_.configurationSegment, 0) +
                               static_cast<std::uint32_t>(*page) * layout_.pageSize;
    unsigned sum = 0;
    for (size_t i = 0; i + 2 < length; ++i)
        sum += memory_.byteAt(code + static_cast<std::uint32_t>(i));
    // Always the same wrong value, so spoiling twice changes nothing.
    const auto wrong = static_cast<std::uint16_t>(sum + 1);
    memory_.setByteAt(code + static_cast<std::uint32_t>(length - 2),
                      static_cast<std::uint8_t>(wrong & 0xFF));
    memory_.setByteAt(code + static_cast<std::uint32_t>(length - 1),
                      static_cast<std::uint8_t>(wrong >> 8));
}

}  // namespace sim
