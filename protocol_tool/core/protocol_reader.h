#pragma once
// CProtocolReader: fetches the text display's protocol and statistics into files and clears
// them on the display. It owns the program's serial link; progress goes to the status line.
//
// The display answers a request with plain text lines and no end marker: the answer is over
// when no byte arrives within the read time-out (3 s), and a line broken off by that silence
// is dropped. What arrives is written into a temporary file beside the chosen one, which
// takes the chosen file's place only when the exchange has ended with at least one line, so
// a cancelled or failed retrieval, or one that got nothing, never destroys or half-overwrites
// a file the user had, nor leaves an empty one. A port that goes away in the middle of the
// answer, and a display that never stops sending (answer_limits.h), end the retrieval as a
// failure with a message.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "common/frontend.h"
#include "common/replacing_file.h"
#include "link/serial_device.h"
#include "link/serial_link.h"
#include "protocol_tool/core/protocol_commands.h"
#include "protocol_tool/core/status_line.h"
#include "protocol_tool/core/translate_to_cyrillic.h"

namespace protocol {

inline constexpr char kGetProtocolText[] = "Get protocol";
inline constexpr char kGetStatisticsText[] = "Get Statistics";
inline constexpr char kClearProtocolText[] = "Clear protocol";
inline constexpr char kClearStatisticsText[] = "Clear Statistics";
inline constexpr char kNoDataText[] = "No data";
inline constexpr char kReadyText[] = "Ready";
inline constexpr char kClearQuestion[] = "Are you sure?";
inline constexpr char kSendFailedMessage[] =
    "The command could not be sent to the text display. Please check the connection.";

// What the Protocol dialog offers and returns.
struct ProtocolChoice {
    int mode = kModeUpTo;
    int cnt = 100;
};
// The Protocol dialog, opened with the current choice; nullopt when it is cancelled.
using ChooseProtocol = std::function<std::optional<ProtocolChoice>(const ProtocolChoice& current)>;

enum class RetrievalResult {
    Done,
    Cancelled,        // Protocol dialog cancelled: nothing sent, the file as it was
    FileNotWritable,  // nothing shown, nothing sent
    NoData,           // no complete line arrived; a file the user had is kept, none is made
    DeviceGone,       // the port went away during the answer; a message said so
    Endless,          // the display did not stop sending; a message said so
    WriteFailed,      // the file could not be written; a message said so
};
// In every result but Done the file the user had is kept as it was.

enum class ClearResult { Sent, Declined, SendFailed };

class CProtocolReader {
  public:
    CProtocolReader(serial::SerialDevice& device, common::Frontend& frontend);

    serial::CSerialLink& Link() { return link_; }
    StatusLine& Status() { return status_; }

    int Mode() const { return choice_.mode; }
    int Cnt() const { return choice_.cnt; }
    void SetMode(int mode) { choice_.mode = mode; }
    void SetCnt(int cnt) { choice_.cnt = cnt; }

    // Done and Cancelled are the "true" of the dialog's point of view.
    RetrievalResult GetProtocol(const std::filesystem::path& path, bool translate,
                                const ChooseProtocol& choose);
    // With no line the status still ends with "Ready" (the statistics have no "No data"), and
    // a message says that nothing came.
    RetrievalResult GetStatistics(const std::filesystem::path& path);
    ClearResult ClearProtocol();
    ClearResult ClearStatistics();
    TranslateResult TranslateToCyrillic(const std::filesystem::path& protocolPath);

  private:
    enum class AnswerEnd { Silence, DeviceGone, Endless, WriteFailed };
    struct Answer {
        std::size_t lines = 0;
        std::size_t bytes = 0;
        AnswerEnd end = AnswerEnd::Silence;
    };
    void SendRequest(const std::string& request);
    Answer ReceiveAnswer(common::ReplacingFile& file);
    RetrievalResult FinishOutput(common::ReplacingFile& file, const std::filesystem::path& path,
                                 const Answer& answer);
    void TellNothingCame(const common::ReplacingFile& file, const std::filesystem::path& path);
    ClearResult Clear(const char* statusText, const char* command);

    common::Frontend& frontend_;
    serial::CSerialLink link_;
    StatusLine status_;
    ProtocolChoice choice_;
};

// True for the results the dialog counts as success (GetProtocol's true).
inline bool Succeeded(RetrievalResult result) {
    return result == RetrievalResult::Done || result == RetrievalResult::Cancelled;
}

}  // namespace protocol
