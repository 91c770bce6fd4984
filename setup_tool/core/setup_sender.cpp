#include "setup_tool/core/setup_sender.h"

#include "common/file_helpers.h"
#include "common/format.h"
#include "common/utf8_path.h"
#include "setup_tool/core/send_exception.h"
#include "setup_tool/core/setup_commands.h"
#include "setup_tool/core/setup_record.h"
#include "setup_tool/core/text_pages.h"

namespace setup {

CSetupSender::CSetupSender(serial::SerialDevice& device, common::Frontend& frontend,
                           TimeDateDialog& timeDate, LocalTimeSource localTime)
    : frontend_(frontend),
      timeDate_(timeDate),
      localTime_(std::move(localTime)),
      link_(device, frontend, serial::Program::Skellig),
      channel_(link_, frontend) {}

bool CSetupSender::OpenPort(const std::string& portName) {
    return link_.Open(portName);
}

void CSetupSender::SetStatus(const std::string& text) {
    if (!text.empty()) frontend_.setStatus(text);
}

SendOutcome CSetupSender::SendSetup(const std::filesystem::path& setupPath) {
    if (!channel_.Login()) return SendOutcome::LoginFailed;

    // A setup file that can't be read after the login is named, and the display is not
    // left logged in.
    std::optional<SetupRecord> record;
    if (auto found = common::FindFileIgnoringCase(setupPath)) record = ReadSetupRecord(*found);
    if (!record) {
        frontend_.message(common::Format("Cannot open the setup file %s",
                                         common::Utf8FromPath(setupPath).c_str()));
        channel_.Logout(false);
        return SendOutcome::SetupFileMissing;
    }

    SetStatus(kSendSetupText);
    try {
        SendParameters(*record);
        SendTextPages(setupPath, record->variant());
    } catch (const CSendException& failure) {
        // No further command, no clock, no logout: the user starts the transfer again.
        frontend_.message(failure.what());
        return SendOutcome::SendFailed;
    }
    SetStatus("");
    SetClock();
    return channel_.Logout() ? SendOutcome::Done : SendOutcome::LogoutFailed;
}

void CSetupSender::SendParameters(const SetupRecord& record) {
    for (const std::string& command : ParameterCommands(record)) channel_.SendCommand(command);
    if (!TableSwitchOn(record)) return;
    for (const std::string& command : TableCommands(record)) channel_.SendCommand(command);
}

void CSetupSender::SendTextPages(const std::filesystem::path& setupPath,
                                 const DisplayVariant& variant) {
    // A missing text file sends no pages and says nothing: a setup may come without one.
    std::optional<std::filesystem::path> textPath = FindTextFile(setupPath);
    if (!textPath) return;
    std::optional<std::string> contents = common::ReadWholeFile(*textPath);
    if (!contents) return;
    for (const TextPageLine& line : TextPageLines(*contents, variant)) {
        channel_.SendCommand(TkCommand(line));
        if (line.line == variant.linesPerPage)
            frontend_.progress({"Text page", line.page, 0, TextPageStatus(line.page)});
    }
}

void CSetupSender::SetClock() {
    for (;;) {
        std::optional<ClockEntry> entry = timeDate_.show(PrefilledEntry(localTime_()));
        if (!entry) return;
        // Values out of range: the dialog comes again, filled anew with the current time.
        std::optional<ClockValues> values = CheckedClock(*entry);
        if (!values) continue;
        for (const std::string& command : ClockCommands(*values))
            channel_.WriteUnacknowledged(command);
        return;
    }
}

}  // namespace setup
