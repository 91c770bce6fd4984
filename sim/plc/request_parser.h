#pragma once
// The PLC's side of the line: collects bytes from the PC into request frames
//   68 LE LE 68 station source function command data... FCS 16
// and checks them as the PLC does (both length bytes, both start bytes, the sum, the end
// byte). Bytes that do not form a frame are dropped.
#include <cstdint>
#include <optional>
#include <string>

#include "common/clock.h"

namespace sim {

struct PlcRequest {
    std::uint8_t station = 0;
    std::uint8_t command = 0;
    std::string data;   // the bytes after the command byte
    std::string frame;  // the whole frame as received
};

class RequestParser {
  public:
    // A frame arrives in one piece; a pause this long inside one means its sender stopped
    // half-way (a program ended mid-write), and the bytes so far are dropped.
    static constexpr common::Millis kFrameGap{500};

    // Takes one byte; a request once a whole valid frame has arrived.
    std::optional<PlcRequest> feed(std::uint8_t byte);
    // The same, with the time the byte came: a frame left unfinished for kFrameGap is
    // dropped, so it cannot swallow the start of the next request.
    std::optional<PlcRequest> feed(std::uint8_t byte, common::Millis at);
    // Frames dropped for a wrong sum, end byte or layout.
    int rejected() const { return rejected_; }

  private:
    std::optional<PlcRequest> finish();
    std::string pending_;
    common::Millis lastByteAt_{0};
    int rejected_ = 0;
};

}  // namespace sim
