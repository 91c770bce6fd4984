#pragma once
// The simulated PLC's memory: one megabyte addressed as segment * 16 + offset, the offset
// wrapping within its segment. The 16-bit address space of the plain reads (commands 0x01,
// 0x0B, 0x0D) is segment 0.
//
// Other parts of the simulator change values as time goes by through the tick hook, which
// the device calls before it answers each request.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/clock.h"

namespace sim {

class PlcMemory {
  public:
    static constexpr std::uint32_t kSize = 0x100000;
    using TickHook = std::function<void(PlcMemory& memory, common::Millis now)>;

    PlcMemory() : bytes_(kSize, 0) {}

    static std::uint32_t Linear(std::uint16_t segment, std::uint16_t offset) {
        return (static_cast<std::uint32_t>(segment) * 16 + offset) % kSize;
    }

    // count bytes from segment:offset (the offset wraps at 0xFFFF, the segment stays).
    std::string read(std::uint16_t segment, std::uint16_t offset, size_t count) const;
    void write(std::uint16_t segment, std::uint16_t offset, const std::string& bytes);
    std::string read16(std::uint16_t address, size_t count) const {
        return read(0, address, count);
    }
    void write16(std::uint16_t address, const std::string& bytes) { write(0, address, bytes); }

    std::uint8_t byteAt(std::uint32_t linear) const { return bytes_[linear % kSize]; }
    void setByteAt(std::uint32_t linear, std::uint8_t value);
    std::uint16_t word16(std::uint16_t address) const;
    void setWord16(std::uint16_t address, std::uint16_t value);

    // Counts every change, so the simulator knows when to save its image.
    std::uint64_t changes() const { return changes_; }

    void setTickHook(TickHook hook) { tick_ = std::move(hook); }
    void tick(common::Millis now) {
        if (tick_) tick_(*this, now);
    }

    // The whole memory as a file of kSize bytes. Load fails (memory unchanged) on a file of
    // another size; save replaces the file only once it is completely written.
    bool loadImage(const std::filesystem::path& path, std::string& error);
    bool saveImage(const std::filesystem::path& path) const;

  private:
    std::vector<std::uint8_t> bytes_;
    std::uint64_t changes_ = 0;
    TickHook tick_;
};

}  // namespace sim
