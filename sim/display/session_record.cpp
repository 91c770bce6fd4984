#include "sim/display/session_record.h"

#include "common/format.h"

namespace sim {

std::string RecordLine(const std::string& command) {
    std::string body = command;
    if (!body.empty() && body.back() == '\r') body.pop_back();
    std::string line;
    for (char c : body) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            line += "\\\\";
        } else if (byte < 0x20 || byte == 0x7F) {
            line += common::Format("\\x%02X", byte);
        } else {
            line += c;
        }
    }
    return line;
}

bool SessionRecord::open(const std::string& path) {
    enabled_ = !path.empty();
    if (!enabled_) return true;
    out_.open(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out_);
}

bool SessionRecord::add(const std::string& command) {
    if (!enabled_) return true;
    out_ << RecordLine(command) << '\n';
    out_.flush();
    return static_cast<bool>(out_);
}

}  // namespace sim
