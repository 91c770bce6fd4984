#include "plc/files/transfer_log.h"

#include <fstream>

namespace plc {

namespace {
std::string InTextMode(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}
}  // namespace

void AppendLog(const std::filesystem::path& logFile, const std::string& text) {
    if (text.empty()) {
        std::ofstream create(logFile, std::ios::binary | std::ios::trunc);
        return;
    }
    std::ofstream out(logFile, std::ios::binary | std::ios::app);
    const std::string bytes = InTextMode(text);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace plc
