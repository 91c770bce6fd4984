#pragma once
// The setup transfer: login, the setup file's parameters, the text pages, the display's
// clock, logout. CSetupSender owns the program's serial link for the whole run; each
// transfer runs to its end in one call and shows everything it has to say itself.
#include <filesystem>
#include <string>

#include "common/frontend.h"
#include "link/serial_device.h"
#include "link/serial_link.h"
#include "setup_tool/core/clock_setting.h"
#include "setup_tool/core/command_channel.h"
#include "setup_tool/core/setup_record.h"

namespace setup {

inline constexpr const char* kSendSetupText = "Send setup";

// How a transfer ended, for callers that need more than what was shown (the
// command-line tool's exit status, tests).
enum class SendOutcome {
    Done,              // logged out with "a"
    LoginFailed,       // "No connection" or "No login"
    SetupFileMissing,  // named in a message, logged out again
    SendFailed,        // "Timeout" or "Wrong checksum"; the display stays logged in
    LogoutFailed,      // everything sent, but the logout got no "a"
};

class CSetupSender {
  public:
    CSetupSender(serial::SerialDevice& device, common::Frontend& frontend, TimeDateDialog& timeDate,
                 LocalTimeSource localTime);

    // Opens the serial link on the port; the outcome is only for callers that explain it
    // (a port that can't be opened makes every transfer end with "No connection").
    bool OpenPort(const std::string& portName);
    serial::CSerialLink& Link() { return link_; }

    // The whole transfer of the setup file at setupPath and its text file.
    [[nodiscard]] SendOutcome SendSetup(const std::filesystem::path& setupPath);

    // The clock step: the "Time / Date" dialog until it is cancelled or confirmed with
    // valid values, which are then written as the three clock commands.
    void SetClock();

  private:
    void SendParameters(const SetupRecord& record);
    void SendTextPages(const std::filesystem::path& setupPath, const DisplayVariant& variant);
    // An empty text only repaints the status line, so it keeps its text.
    void SetStatus(const std::string& text);

    common::Frontend& frontend_;
    TimeDateDialog& timeDate_;
    LocalTimeSource localTime_;
    serial::CSerialLink link_;
    CommandChannel channel_;
};

}  // namespace setup
