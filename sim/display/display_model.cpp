#include "sim/display/display_model.h"

#include <algorithm>
#include <utility>

namespace sim {

namespace {
constexpr std::size_t kSetupLetterIndex = 2;  // "@T" then the command's letter
constexpr const char* kEntryWords[] = {"Coming", "Going", "On", "Off"};

bool StartsEntry(const std::string& line) {
    for (const char* word : kEntryWords)
        if (line.rfind(word, 0) == 0) return true;
    return false;
}
}  // namespace

unsigned SetupChecksum(const std::string& command) {
    unsigned sum = 0;
    std::size_t end = command.size();
    if (end > 0 && command[end - 1] == '\r') --end;
    for (std::size_t i = kSetupLetterIndex; i < end; ++i)
        sum += static_cast<unsigned char>(command[i]);
    return sum & 0xFFFFu;
}

std::vector<std::string> AnswerLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size() - 1;
        lines.push_back(text.substr(start, end + 1 - start));
        start = end + 1;
    }
    return lines;
}

std::string ProtocolUpTo(const std::string& protocol, int count) {
    if (count <= 0) return protocol;
    std::string out;
    int entries = 0;
    for (const std::string& line : AnswerLines(protocol)) {
        if (StartsEntry(line) && ++entries > count) break;
        out += line;
    }
    return out;
}

DisplayModel::DisplayModel(DisplayFaults faults, std::string protocol, std::string statistics)
    : faults_(faults), protocol_(std::move(protocol)), statistics_(std::move(statistics)) {}

Answer DisplayModel::respond(const DisplayRequest& request) {
    ++commands_;
    const bool announced = std::exchange(prefaceSeen_, false);
    if (faults_.silent || (faults_.silentFrom > 0 && commands_ >= faults_.silentFrom)) return {};
    switch (request.kind) {
        case RequestKind::Login:
            loggedIn_ = true;
            if (faults_.wrongLogin) return {{{}, "a\r"}};
            if (faults_.doubledLogin) return {{{}, "AA\r"}};
            return {{{}, "A\r"}};
        case RequestKind::Logout:
            if (!loggedIn_) return {};
            loggedIn_ = false;
            return {{{}, faults_.wrongLogout ? "A\r" : "a\r"}};
        case RequestKind::Setup:
            // Setup commands count only between login and logout.
            if (!loggedIn_) return {};
            return setupAnswer(request);
        case RequestKind::Preface:
            prefaceSeen_ = true;
            return {};
        case RequestKind::Protocol:
            if (!announced) return {};
            return linesAnswer(ProtocolUpTo(protocol_, request.upToEntry));
        case RequestKind::Statistics:
            if (!announced) return {};
            return linesAnswer(statistics_);
        case RequestKind::ClearProtocol:
            protocol_.clear();
            return {};
        case RequestKind::ClearStatistics:
            statistics_.clear();
            return {};
        case RequestKind::Clock:
        case RequestKind::Unknown:
            return {};
    }
    return {};
}

Answer DisplayModel::setupAnswer(const DisplayRequest& request) const {
    const char letter = request.bytes[kSetupLetterIndex];
    if (faults_.shortAckAt == commands_) return {{{}, std::string(1, letter)}};
    unsigned checksum = SetupChecksum(request.bytes);
    unsigned low = checksum & 0xFFu;
    if (faults_.wrongChecksumAt == commands_) low = (low + 1) & 0xFFu;
    std::string ack;
    ack += letter;
    ack += static_cast<char>(low);
    ack += static_cast<char>((checksum >> 8) & 0xFFu);
    ack += '\r';
    return {{{}, ack}};
}

Answer DisplayModel::linesAnswer(const std::string& text) const {
    if (text.empty()) return {};
    if (faults_.endless) return {{{}, text, true}};
    if (faults_.pauseInLine <= 0) return {{{}, text}};
    std::vector<std::string> lines = AnswerLines(text);
    std::size_t stalled = std::min<std::size_t>(faults_.pauseInLine, lines.size()) - 1;
    std::string before, after;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i < stalled) {
            before += lines[i];
        } else if (i > stalled) {
            after += lines[i];
        }
    }
    // At least one byte of the line before the stall, its line end after it.
    const std::string& line = lines[stalled];
    std::size_t cut = line.size() / 2;
    if (cut == 0) cut = 1;
    before += line.substr(0, cut);
    after = line.substr(cut) + after;
    Answer answer{{{}, before}};
    answer.push_back({kPauseInLine, after});
    return answer;
}

}  // namespace sim
