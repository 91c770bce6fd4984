#include "plc_tool/core/watch_csv.h"

#include <algorithm>
#include <ctime>

#include "common/format.h"

namespace quarnwin {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string CsvTime(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()) % 1000;
    // std::localtime's result is shared storage: copied at once.
    const std::tm* shared = std::localtime(&seconds);
    const std::tm t = shared ? *shared : std::tm{};
    return common::Format("%04d-%02d-%02d %02d:%02d:%02d.%03d", t.tm_year + 1900, t.tm_mon + 1,
                          t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
                          static_cast<int>((millis.count() + 1000) % 1000));
}

bool WatchCsv::Open(const std::filesystem::path& path) {
    file_.open(path, std::ios::binary | std::ios::app);
    return file_.is_open();
}

bool WatchCsv::WriteRow(const monitor::DisplayPage& page,
                        std::chrono::system_clock::time_point when) {
    if (!file_.is_open()) return false;
    std::vector<std::string> operands;
    operands.reserve(static_cast<size_t>(std::max(page.usedCells, 0)));
    for (int i = 0; i < page.usedCells; ++i) operands.push_back(page.cells[i].operand);
    std::string text;
    if (!headerWritten_ || operands != header_) {
        text += "Time";
        for (const std::string& operand : operands) text += "," + CsvField(operand);
        text += "\r\n";
        header_ = std::move(operands);
        headerWritten_ = true;
    }
    text += CsvTime(when);
    for (int i = 0; i < page.usedCells; ++i) text += "," + CsvField(page.cells[i].value);
    text += "\r\n";
    file_.write(text.data(), static_cast<std::streamsize>(text.size()));
    file_.flush();
    return file_.good();
}

}  // namespace quarnwin
