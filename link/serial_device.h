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

class SerialDevice {
  public:
    virtual ~SerialDevice() = default;
    // Opens the device exclusively. On failure the device stays closed.
    virtual OpenError open(const std::string& path) = 0;
    // Applies the line settings (speed, framing, modem lines); false when refused.
    virtual bool configure(const LineSettings& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Writes all bytes and returns when they have left the port, or false after the time-out.
    virtual bool write(std::string_view bytes, common::Millis timeout) = 0;
    // One byte, or nullopt when none came within the time-out. A vanished device reads as
    // silence.
    virtual std::optional<std::uint8_t> readByte(common::Millis timeout) = 0;
};

}  // namespace serial
