#pragma once
// The record file of a simulator run: every command the display received, one per line,
// so a test can compare a whole session with the commands it expects.
#include <fstream>
#include <string>

namespace sim {

// A command as its record line: the carriage return that ends a setup or clock command
// left off, other control bytes as \xHH, a backslash doubled; other bytes as they came.
std::string RecordLine(const std::string& command);

class SessionRecord {
  public:
    // No path: records nothing.
    bool open(const std::string& path);
    // Appends the command's line and flushes it, so a reader sees it at once.
    bool add(const std::string& command);

  private:
    std::ofstream out_;
    bool enabled_ = false;
};

}  // namespace sim
