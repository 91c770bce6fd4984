#pragma once
// The text display's command protocol as the setup tool speaks it: login and logout with
// their one-character answers, acknowledged setup commands with their checksum, and the
// unacknowledged clock commands. A command whose answer is read next returns from its write
// when the port has taken it, so the answer's time-out runs while it is still on the line; an
// unacknowledged command waits until it has left.
#include <cstdint>
#include <string>

#include "common/frontend.h"
#include "link/serial_link.h"

namespace setup {

// Sum of the command's bytes from its third character (the letter after "@T") to its
// end, each taken unsigned, low 16 bits. The command is given without its "\r".
std::int32_t CommandChecksum(const std::string& command);

// Texts the protocol shows.
inline constexpr const char* kNoConnectionText = "No connection";
inline constexpr const char* kNoLoginText = "No login";
inline constexpr const char* kReadyText = "Ready";

class CommandChannel {
  public:
    CommandChannel(serial::CSerialLink& link, common::Frontend& frontend);

    // Sends the command (without "\r"; it is added here) and returns when its
    // acknowledgement matches; throws CSendException "Timeout" or "Wrong checksum".
    void SendCommand(const std::string& command);

    // "@TA\r": true when the display answered exactly "A". Otherwise "No connection" or
    // "No login" has been shown and the transfer must end.
    [[nodiscard]] bool Login();

    // "@Ta\r": true on the answer "a", and then "Ready" in the status line when
    // showReady; otherwise "No connection" has been shown.
    bool Logout(bool showReady = true);

    // A command that is not answered (the clock commands), "\r" included; the result of
    // the write is not looked at: a lost command shows up at the logout.
    void WriteUnacknowledged(const std::string& command);

    const std::string& LastAnswer() const { return answer_; }

  private:
    serial::CSerialLink& link_;
    common::Frontend& frontend_;
    std::string answer_;
};

}  // namespace setup
