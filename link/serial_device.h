#pragma once
// The serial port as the link layer sees it. The real one is a tty driven through termios;
// tests use a scripted in-memory device. Nothing above link/ sees errno or termios.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "link/line_settings.h"

namespace serial {

// Why a port could not be opened, mapped once from the platform's error.
enum class OpenError { None, Absent, Busy, NoPermission, NotATerminal, Other };

// A sentence for the technician: what went wrong and what to do about it.
std::string DescribeOpenError(OpenError error, const std::string& path);

// What one read brought: a byte, silence for the whole time-out, or the news that the device
// has gone (the converter was unplugged, the far end of a pseudo-terminal closed). Each read
// operation decides what a gone device means for it.
enum class ReadStatus { Byte, Silence, Gone };

struct ReadResult {
    ReadStatus status = ReadStatus::Silence;
    std::uint8_t byte = 0;
    bool hasByte() const { return status == ReadStatus::Byte; }
};

// How a write ends: Drained returns when the bytes have left the port (the line is quiet
// afterwards); HandedOver returns as soon as the driver has taken them, for a request whose
// answer is read next, so the pacing wait runs while the request is still on the line.
enum class WriteEnd { Drained, HandedOver };

class SerialDevice {
  public:
    virtual ~SerialDevice() = default;
    // Opens the device exclusively. On failure the device stays closed.
    virtual OpenError open(const std::string& path) = 0;
    // Applies the line settings (speed, framing, modem lines); false when refused.
    virtual bool configure(const LineSettings& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Writes all bytes and returns as `end` says, or false after the time-out.
    virtual bool write(std::string_view bytes, common::Millis timeout,
                       WriteEnd end = WriteEnd::Drained) = 0;
    // One byte, silence after the time-out, or Gone. A gone device still lets the time-out
    // pass, so callers that only look for bytes see the same timing as silence.
    virtual ReadResult read(common::Millis timeout) = 0;
    // The byte, or nullopt for silence and for a gone device alike.
    std::optional<std::uint8_t> readByte(common::Millis timeout) {
        ReadResult result = read(timeout);
        if (!result.hasByte()) return std::nullopt;
        return result.byte;
    }
};

}  // namespace serial
