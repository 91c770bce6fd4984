#include "protocol_tool/core/status_line.h"

namespace protocol {

void StatusLine::Set(const std::string& text) {
    if (!text.empty()) text_ = text.substr(0, kMaxStatusLength);
    frontend_.setStatus(text_);
}

void StatusLine::SetReceivedLine(const std::string& line) {
    std::string shown = line;
    while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r')) shown.pop_back();
    text_ = shown.substr(0, kMaxStatusLength);
    frontend_.setStatus(text_);
}

}  // namespace protocol
