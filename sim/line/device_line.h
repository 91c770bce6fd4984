#pragma once
// The device's end of the line, as a simulator sees it: bytes from the client, bytes to the
// client, and the line settings the client asked for. A pseudo-terminal (--link) and a
// network server (--listen) both give one.
#include <cstdint>
#include <optional>
#include <string_view>

#include "common/clock.h"

namespace sim {

enum class ParitySeen {
    NotVisible,  // a pseudo-terminal drops the parity flag
    None,
    Odd,
    Even,
    Mark,
    Space,
};

// What the client set on the line. stopBits is 1 or 2, 0 for one and a half.
struct LineSeen {
    int baud = 0;
    int dataBits = 0;
    int stopBits = 0;
    ParitySeen parity = ParitySeen::NotVisible;
};

// "even parity", "no parity", ... for the simulators' notes on a refused line.
const char* ParityName(ParitySeen parity);

class DeviceLine {
  public:
    virtual ~DeviceLine() = default;
    // One byte from the client, or nullopt when none came within the time-out (or the line
    // had other business: a client came or went); the callers read again.
    virtual std::optional<std::uint8_t> readByte(common::Millis timeout) = 0;
    // False when the bytes could not be sent (no client, the client went, a stop request).
    virtual bool write(std::string_view bytes) = 0;
    virtual LineSeen lineSeen() const = 0;
};

}  // namespace sim
