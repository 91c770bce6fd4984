#pragma once
// The simulated text display's behaviour: what it answers to each request, with the state
// that shapes the answers (logged in or not, a retrieval announced by "@@/r", the protocol
// and statistics it holds) and the faults it was asked to show.
#include <string>
#include <vector>

#include "common/clock.h"
#include "sim/display/display_faults.h"
#include "sim/display/display_request.h"

namespace sim {

// One stretch of an answer: a silence, then bytes.
struct AnswerPart {
    common::Millis pauseBefore{0};
    std::string bytes;
    // The bytes are sent again and again until the simulator is stopped: a display that
    // never falls silent.
    bool endless = false;
};
using Answer = std::vector<AnswerPart>;

// The stall of the pause-in-line fault: longer than the 3 s read time-out of the
// protocol tool, so its read ends inside the line.
constexpr common::Millis kPauseInLine{3500};

// The acknowledgement checksum: the sum of the command's bytes after "@T", up to and not
// including the carriage return, low 16 bits.
unsigned SetupChecksum(const std::string& command);

// Lines of a display answer: every byte up to and including a line feed; a rest without a
// line feed is a last, unfinished line.
std::vector<std::string> AnswerLines(const std::string& text);

// The protocol's lines before its first entry and then entries 1 to count (all of them
// when count is 0). An entry begins with a line that starts with "Coming", "Going", "On"
// or "Off" and runs up to the next such line.
std::string ProtocolUpTo(const std::string& protocol, int count);

class DisplayModel {
  public:
    DisplayModel(DisplayFaults faults, std::string protocol, std::string statistics);

    // The answer to a request; empty when the display stays silent.
    Answer respond(const DisplayRequest& request);

    int commandsReceived() const { return commands_; }
    bool loggedIn() const { return loggedIn_; }
    const std::string& protocol() const { return protocol_; }
    const std::string& statistics() const { return statistics_; }

  private:
    Answer setupAnswer(const DisplayRequest& request) const;
    Answer linesAnswer(const std::string& text) const;

    DisplayFaults faults_;
    std::string protocol_;
    std::string statistics_;
    int commands_ = 0;
    bool loggedIn_ = false;
    bool prefaceSeen_ = false;
};

}  // namespace sim
