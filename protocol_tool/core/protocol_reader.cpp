#include "protocol_tool/core/protocol_reader.h"

#include "protocol_tool/core/file_access.h"
#include "protocol_tool/core/write_error.h"

namespace protocol {

namespace fs = std::filesystem;

CProtocolReader::CProtocolReader(serial::SerialDevice& device, common::Frontend& frontend)
    : frontend_(frontend), link_(device, frontend, serial::Program::Vantor), status_(frontend) {}

bool CProtocolReader::OpenOutput(common::ReplacingFile& file, const fs::path& target) {
    return CanReplace(target) && file.open();
}

void CProtocolReader::SendRequest(const std::string& request) {
    // Two writes back to back. A failed write shows here as a silent display: the read
    // that follows ends by its time-out.
    link_.Write(kRequestPrefix);
    link_.Write(request, serial::WriteEnd::HandedOver);  // the answer is read next
}

CProtocolReader::Answer CProtocolReader::ReceiveAnswer(common::ReplacingFile& file) {
    Answer answer;
    std::string line;
    // ReadLine gives false on silence; the part of a line read before it is dropped.
    while (link_.ReadLine(line)) {
        if (!file.append(line)) {
            answer.writeFailed = true;
            break;
        }
        status_.SetReceivedLine(line);
        ++answer.lines;
    }
    return answer;
}

RetrievalResult CProtocolReader::FinishOutput(common::ReplacingFile& file, const fs::path& target,
                                              const Answer& answer) {
    if (!answer.writeFailed && answer.lines == 0) {
        // Nothing came: a file the user had stays. Where there was none, the empty answer
        // is stored, as an empty file.
        std::error_code ec;
        if (fs::exists(target, ec)) {
            file.discard();
        } else {
            file.commit();
        }
        return RetrievalResult::NoData;
    }
    if (answer.writeFailed || !file.commit()) {
        file.discard();
        frontend_.message(WriteErrorMessage(target));
        return RetrievalResult::WriteFailed;
    }
    return RetrievalResult::Done;
}

RetrievalResult CProtocolReader::GetProtocol(const fs::path& path, bool translate,
                                             const ChooseProtocol& choose) {
    const fs::path target = WriteTarget(path);
    common::ReplacingFile file(target);
    if (!OpenOutput(file, target)) return RetrievalResult::FileNotWritable;

    std::optional<ProtocolChoice> chosen = choose(choice_);
    if (!chosen) return RetrievalResult::Cancelled;  // the temporary file goes, the old stays
    choice_ = *chosen;
    status_.Set(kGetProtocolText);

    SendRequest(ProtocolRequest(choice_.mode, choice_.cnt));
    const Answer answer = ReceiveAnswer(file);
    const RetrievalResult result = FinishOutput(file, target, answer);
    if (result == RetrievalResult::NoData) status_.Set(kNoDataText);
    if (result != RetrievalResult::Done) return result;

    if (translate) TranslateToCyrillic(path);
    status_.Set(kReadyText);
    return result;
}

RetrievalResult CProtocolReader::GetStatistics(const fs::path& path) {
    const fs::path target = WriteTarget(path);
    common::ReplacingFile file(target);
    if (!OpenOutput(file, target)) return RetrievalResult::FileNotWritable;

    status_.Set(kGetStatisticsText);
    SendRequest(kStatisticsRequest);
    const Answer answer = ReceiveAnswer(file);
    const RetrievalResult result = FinishOutput(file, target, answer);
    if (result != RetrievalResult::WriteFailed) status_.Set(kReadyText);
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
