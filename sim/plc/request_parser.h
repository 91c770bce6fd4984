#pragma once
// The PLC's side of the line: collects bytes from the PC into request frames
//   68 LE LE 68 station source function command data... FCS 16
// and checks them as the PLC does (both length bytes, both start bytes, the sum, the end
// byte). Bytes that do not form a frame are dropped.
#include <cstdint>
#include <optional>
#include <string>

namespace sim {

struct PlcRequest {
    std::uint8_t station = 0;
    std::uint8_t command = 0;
    std::string data;   // the bytes after the command byte
    std::string frame;  // the whole frame as received
};

class RequestParser {
public:
    // Takes one byte; a request once a whole valid frame has arrived.
    std::optional<PlcRequest> feed(std::uint8_t byte);
    // Frames dropped for a wrong sum, end byte or layout.
    int rejected() const { return rejected_; }

private:
    std::optional<PlcRequest> finish();
    std::string pending_;
    int rejected_ = 0;
};

}  // namespace sim
