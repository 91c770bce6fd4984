#pragma once
// The display's side of the line: gathering the bytes a client sends into whole requests.
// The display knows two command families: the setup commands "@T", "@U" and "@D", each
// ended by a carriage return, and the retrieval commands: the preface "@@/r" (four bytes,
// no terminator) and the requests "@Y...@" / "@y...@", ended by their closing "@".
#include <cstdint>
#include <optional>
#include <string>

namespace sim {

enum class RequestKind {
    Login,            // "@TA\r"
    Logout,           // "@Ta\r"
    Setup,            // "@TB" ... "@TN" with fields, "\r": acknowledged with letter and checksum
    Clock,            // "@U...\r", "@D...\r": taken without an answer
    Preface,          // "@@/r": announces a retrieval request
    Protocol,         // "@YA@" (new entries) or "@Y%04d@" (up to an entry number)
    Statistics,       // "@yA@"
    ClearProtocol,    // "@YI@"
    ClearStatistics,  // "@yI@"
    Unknown,          // a well-terminated command the display has no use for
};

struct DisplayRequest {
    RequestKind kind = RequestKind::Unknown;
    std::string bytes;  // the whole command as received, terminator included
    // Protocol: the entry number of "@Y%04d@", or 0 for "@YA@" (all entries).
    int upToEntry = 0;
};

class DisplayRequestParser {
  public:
    // Longest command the display buffers; longer runs without a terminator are noise.
    static constexpr std::size_t kMaxCommandLength = 512;

    // Takes one byte; returns a request when the byte completes one.
    std::optional<DisplayRequest> feed(std::uint8_t byte);
    // Forgets a half-received command (after a line error).
    void reset() { pending_.clear(); }
    // Bytes dropped because they belonged to no command.
    std::size_t noiseBytes() const { return noise_; }

  private:
    std::string pending_;
    std::size_t noise_ = 0;
};

// Classifies a complete command (as returned by the parser).
DisplayRequest Classify(std::string bytes);

}  // namespace sim
