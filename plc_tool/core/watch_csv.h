#pragma once
// The variable display as a CSV file that grows while the display runs: a header row with
// the operand texts of the shown cells ("Time" first), then one row per page cycle with
// the local time to the millisecond and every shown cell's value text. A new header row
// comes when paging shows other operands. Fields holding a comma, a quote or a line end
// are quoted, quotes doubled; rows end with "\r\n". Every row is flushed at once, so the
// file can be read while the watch runs.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "monitor/display_page.h"

namespace quarnwin {

// One CSV field as written.
std::string CsvField(const std::string& text);
// "YYYY-MM-DD HH:MM:SS.mmm" in local time.
std::string CsvTime(std::chrono::system_clock::time_point when);

class WatchCsv {
  public:
    WatchCsv() = default;
    WatchCsv(const WatchCsv&) = delete;
    WatchCsv& operator=(const WatchCsv&) = delete;

    // Opens the file for appending (by its wide name on Windows, so any folder name works);
    // false when it can't be opened.
    bool Open(const std::filesystem::path& path);
    // Appends the page's row (and a header row first when the operands changed); false
    // when the file could not be written.
    bool WriteRow(const monitor::DisplayPage& page, std::chrono::system_clock::time_point when);

  private:
    std::ofstream file_;
    std::vector<std::string> header_;
    bool headerWritten_ = false;
};

}  // namespace quarnwin
