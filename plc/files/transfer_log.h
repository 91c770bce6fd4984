#pragma once
// The transfer log (log.txt): emptied when the program starts, appended to by download and
// upload. Text mode: every "\n" of a text is written as "\r\n". Where the file lives is the
// front end's choice (the program folder, or --log); an empty path keeps no log.
#include <filesystem>
#include <string>

namespace plc {

// An empty text creates the file anew (emptying it). Any other text is appended at the end
// of the file; a missing file is created first. Failures are not reported: the log never
// stops a transfer.
void AppendLog(const std::filesystem::path& logFile, const std::string& text);

class TransferLog {
  public:
    TransferLog() = default;
    explicit TransferLog(std::filesystem::path file) : file_(std::move(file)) {}

    const std::filesystem::path& file() const { return file_; }
    void Append(const std::string& text) const {
        if (!file_.empty()) AppendLog(file_, text);
    }
    void Clear() const { Append(std::string()); }

  private:
    std::filesystem::path file_;
};

}  // namespace plc
