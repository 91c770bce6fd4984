#pragma once
// Small file helpers shared by the tools: reading text files written on either platform,
// finding files named in lower or mixed case, and replacing a file only once its new
// contents are complete.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace common {

// Splits text into lines; a line ends at "\n", and a "\r" right before it is dropped. A last
// line without "\n" is kept when it is not empty.
std::vector<std::string> SplitTextLines(const std::string& text);

// Reads a whole file as bytes; nullopt when it can't be opened or read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// The file as named when it exists with that exact case; else the one entry of its folder
// whose name matches ignoring ASCII letter case (the first in name order when several do);
// else nullopt.
std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& path);

// Writes the bytes to a temporary file beside the target and renames it over the target
// when all bytes are written, so the target is either the old file or the whole new one.
// Returns false (the target untouched, the temporary file removed) when anything fails.
bool WriteFileReplacing(const std::filesystem::path& target, const std::string& bytes);

// The same in steps, for files that grow while a device answers: open() creates the
// temporary file, append() adds bytes, commit() renames it over the target and discard()
// (or the destructor without commit) removes it.
class ReplacingFile {
  public:
    explicit ReplacingFile(std::filesystem::path target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool open();
    bool append(const std::string& bytes);
    bool commit();
    void discard();
    const std::filesystem::path& temporaryPath() const { return temporary_; }

  private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    struct Stream;
    std::unique_ptr<Stream> stream_;  // pimpl keeps <fstream> out of the header
};

}  // namespace common
