#include "sim/display/display_request.h"

#include <cctype>
#include <cstring>
#include <utility>

namespace sim {

namespace {
constexpr char kStart = '@';
constexpr char kCarriageReturn = '\r';
constexpr const char* kPreface = "@@/r";
constexpr std::size_t kPrefaceLength = 4;
// The letters of the acknowledged setup commands.
constexpr const char* kSetupLetters = "BCDEFGHIKLMN";

bool EndsWithCarriageReturn(char family) {
    return family == 'T' || family == 'U' || family == 'D';
}
bool EndsWithAt(char family) {
    return family == 'Y' || family == 'y';
}
}  // namespace

std::optional<DisplayRequest> DisplayRequestParser::feed(std::uint8_t byte) {
    const char c = static_cast<char>(byte);
    if (pending_.empty()) {
        if (c == kStart) {
            pending_ = c;
        } else {
            ++noise_;
        }
        return std::nullopt;
    }
    pending_ += c;
    const char family = pending_[1];
    if (family == kStart) {
        // The preface: "@@/r", nothing else starts with "@@".
        if (pending_[pending_.size() - 1] != kPreface[pending_.size() - 1]) {
            noise_ += pending_.size() - 1;
            pending_.clear();
            if (c == kStart)
                pending_ = c;
            else
                ++noise_;
            return std::nullopt;
        }
        if (pending_.size() == kPrefaceLength) return Classify(std::exchange(pending_, {}));
        return std::nullopt;
    }
    if (EndsWithCarriageReturn(family)) {
        if (c == kCarriageReturn) return Classify(std::exchange(pending_, {}));
    } else if (EndsWithAt(family)) {
        if (c == kStart && pending_.size() > 2) return Classify(std::exchange(pending_, {}));
    } else {
        // "@" followed by a letter that starts no command.
        noise_ += pending_.size() - 1;
        pending_.clear();
        if (c == kStart)
            pending_ = c;
        else
            ++noise_;
        return std::nullopt;
    }
    if (pending_.size() > kMaxCommandLength) {
        noise_ += pending_.size();
        pending_.clear();
    }
    return std::nullopt;
}

DisplayRequest Classify(std::string bytes) {
    DisplayRequest request;
    request.bytes = std::move(bytes);
    const std::string& b = request.bytes;
    if (b == kPreface) {
        request.kind = RequestKind::Preface;
    } else if (b == "@TA\r") {
        request.kind = RequestKind::Login;
    } else if (b == "@Ta\r") {
        request.kind = RequestKind::Logout;
    } else if (b.size() >= 4 && b[1] == 'T' && b[2] != '\0' &&
               std::strchr(kSetupLetters, b[2]) != nullptr && b.back() == kCarriageReturn) {
        request.kind = RequestKind::Setup;
    } else if (b.size() >= 3 && (b[1] == 'U' || b[1] == 'D') && b.back() == kCarriageReturn) {
        request.kind = RequestKind::Clock;
    } else if (b == "@YA@") {
        request.kind = RequestKind::Protocol;
    } else if (b == "@YI@") {
        request.kind = RequestKind::ClearProtocol;
    } else if (b == "@yA@") {
        request.kind = RequestKind::Statistics;
    } else if (b == "@yI@") {
        request.kind = RequestKind::ClearStatistics;
    } else if (b.size() == 7 && b[1] == 'Y' && b.back() == '@' &&
               std::isdigit(static_cast<unsigned char>(b[2])) &&
               std::isdigit(static_cast<unsigned char>(b[3])) &&
               std::isdigit(static_cast<unsigned char>(b[4])) &&
               std::isdigit(static_cast<unsigned char>(b[5]))) {
        request.kind = RequestKind::Protocol;
        request.upToEntry = std::stoi(b.substr(2, 4));
    }
    return request;
}

}  // namespace sim
