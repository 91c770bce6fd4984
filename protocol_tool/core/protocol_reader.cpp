#include "protocol_tool/core/protocol_reader.h"

#include "protocol_tool/core/answer_limits.h"
#include "protocol_tool/core/retrieval_messages.h"
#include "protocol_tool/core/write_error.h"

namespace protocol {

namespace fs = std::filesystem;

CProtocolReader::CProtocolReader(serial::SerialDevice& device, common::Frontend& frontend)
    : frontend_(frontend), link_(device, frontend, serial::Program::Vantor), status_(frontend) {}

void CProtocolReader::SendRequest(const std::string& request) {
    // Two writes back to back. A failed write shows here as a silent display: the read
    // that follows ends by its time-out.
    link_.Write(kRequestPrefix);
    link_.Write(request, serial::WriteEnd::HandedOver);  // the answer is read next
}

CProtocolReader::Answer CProtocolReader::ReceiveAnswer(common::ReplacingFile& file) {
    using LineEnd = serial::CSerialLink::LineEnd;
    Answer answer;
    std::string line;
    common::Clock& clock = link_.Clock();
    const common::Millis deadline = clock.now() + RetrievalTimeBound(link_.Settings());
    for (;;) {
        const LineEnd end = link_.ReadLineEnd(line);
        answer.bytes += line.size();
        if (end == LineEnd::Gone) {
            // A port that was never opened ends the answer as a silent display does.
            if (link_.IsOpen()) answer.end = AnswerEnd::DeviceGone;
            break;
        }
        if (end == LineEnd::TooLong) {
            answer.end = AnswerEnd::Endless;
            break;
        }
        // Silence: the part of a line read before it is dropped. A display that drips its
        // answer so slowly that it outlasts the answer's time ends the same way.
        if (end != LineEnd::LineFeed || clock.now() > deadline) break;
        if (answer.lines >= kMaxAnswerLines || answer.bytes > kMaxAnswerBytes) {
            answer.end = AnswerEnd::Endless;
            break;
        }
        if (!file.append(line)) {
            answer.end = AnswerEnd::WriteFailed;
            break;
        }
        status_.SetReceivedLine(line);
        ++answer.lines;
    }
    return answer;
}

RetrievalResult CProtocolReader::FinishOutput(common::ReplacingFile& file, const fs::path& path,
                                              const Answer& answer) {
    const bool earlierFile = file.replacesExisting();
    switch (answer.end) {
        case AnswerEnd::Silence:
            if (answer.lines > 0) {
                if (file.commit()) return RetrievalResult::Done;
                frontend_.message(WriteErrorMessage(path));
                return RetrievalResult::WriteFailed;
            }
            // Nothing came: a file the user had stays, and no empty one is made.
            file.discard();
            return RetrievalResult::NoData;
        case AnswerEnd::DeviceGone:
            file.discard();
            // A stop request ends the answer the same way; the message says which it was.
            frontend_.message(RetrievalMessage(
                link_.Stopped() ? RetrievalFailure::Stopped : RetrievalFailure::DeviceGone, path,
                earlierFile));
            return RetrievalResult::DeviceGone;
        case AnswerEnd::Endless:
            file.discard();
            frontend_.message(RetrievalMessage(RetrievalFailure::Endless, path, earlierFile));
            return RetrievalResult::Endless;
        case AnswerEnd::WriteFailed:
            break;
    }
    file.discard();
    frontend_.message(WriteErrorMessage(path));
    return RetrievalResult::WriteFailed;
}

void CProtocolReader::TellNothingCame(const common::ReplacingFile& file, const fs::path& path) {
    frontend_.message(
        RetrievalMessage(RetrievalFailure::NothingCame, path, file.replacesExisting()));
}

RetrievalResult CProtocolReader::GetProtocol(const fs::path& path, bool translate,
                                             const ChooseProtocol& choose) {
    common::ReplacingFile file(path);
    if (!file.open()) return RetrievalResult::FileNotWritable;

    std::optional<ProtocolChoice> chosen = choose(choice_);
    if (!chosen) return RetrievalResult::Cancelled;  // the temporary file goes, the old stays
    choice_ = *chosen;
    status_.Set(kGetProtocolText);

    SendRequest(ProtocolRequest(choice_.mode, choice_.cnt));
    const Answer answer = ReceiveAnswer(file);
    const RetrievalResult result = FinishOutput(file, path, answer);
    if (result == RetrievalResult::NoData) {
        status_.Set(kNoDataText);
        // "No data" says it all where there was no file; an earlier one must not be taken
        // for what the display sent.
        if (file.replacesExisting()) TellNothingCame(file, path);
    }
    if (result != RetrievalResult::Done) return result;

    if (translate) TranslateToCyrillic(path);
    status_.Set(kReadyText);
    return result;
}

RetrievalResult CProtocolReader::GetStatistics(const fs::path& path) {
    common::ReplacingFile file(path);
    if (!file.open()) return RetrievalResult::FileNotWritable;

    status_.Set(kGetStatisticsText);
    SendRequest(kStatisticsRequest);
    const Answer answer = ReceiveAnswer(file);
    const RetrievalResult result = FinishOutput(file, path, answer);
    if (result == RetrievalResult::Done || result == RetrievalResult::NoData)
        status_.Set(kReadyText);
    if (result == RetrievalResult::NoData) TellNothingCame(file, path);
    return result;
}

TranslateResult CProtocolReader::TranslateToCyrillic(const fs::path& protocolPath) {
    return protocol::TranslateToCyrillic(protocolPath, frontend_);
}

ClearResult CProtocolReader::Clear(const char* statusText, const char* command) {
    status_.Set(statusText);
    if (!frontend_.ask(kClearQuestion)) return ClearResult::Declined;
    // No "@@/r" before a clear command, and no answer to read.
    if (!link_.Write(command)) {
        frontend_.message(kSendFailedMessage);
        return ClearResult::SendFailed;
    }
    status_.Set(kReadyText);
    return ClearResult::Sent;
}

ClearResult CProtocolReader::ClearProtocol() {
    return Clear(kClearProtocolText, kClearProtocolCommand);
}

ClearResult CProtocolReader::ClearStatistics() {
    return Clear(kClearStatisticsText, kClearStatisticsCommand);
}

}  // namespace protocol
