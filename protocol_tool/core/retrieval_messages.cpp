#include "protocol_tool/core/retrieval_messages.h"

#include "common/format.h"
#include "common/utf8_path.h"
#include "protocol_tool/core/answer_limits.h"

namespace protocol {

namespace {
constexpr char kNothingCame[] =
    "The text display sent nothing. Please check the cable and the display's interface "
    "settings (9600 baud, 8 data bits, 2 stop bits, no parity).";
constexpr char kDeviceGone[] =
    "The serial port went away while the text display was answering (USB serial converter "
    "unplugged?). The incomplete answer was dropped. Please check the converter and start "
    "the program again.";
constexpr char kEndlessFormat[] =
    "The text display did not stop sending (more than %zu lines or %zu bytes, more than its "
    "protocol can hold). The answer was dropped. Please switch the display off and on and "
    "try again.";
constexpr char kStopped[] =
    "The retrieval was stopped before the text display had finished its answer. The "
    "incomplete answer was dropped.";
constexpr char kKeptFormat[] = "\n\nThe earlier file %s was kept as it was.";
constexpr char kNoneFormat[] = "\n\nNo file %s was written.";
}  // namespace

std::string RetrievalMessage(RetrievalFailure failure, const std::filesystem::path& file,
                             bool keptFile) {
    std::string text;
    switch (failure) {
        case RetrievalFailure::NothingCame:
            text = kNothingCame;
            break;
        case RetrievalFailure::DeviceGone:
            text = kDeviceGone;
            break;
        case RetrievalFailure::Endless:
            text = common::Format(kEndlessFormat, kMaxAnswerLines, kMaxAnswerBytes);
            break;
        case RetrievalFailure::Stopped:
            text = kStopped;
            break;
    }
    return text +
           common::Format(keptFile ? kKeptFormat : kNoneFormat, common::Utf8FromPath(file).c_str());
}

}  // namespace protocol
