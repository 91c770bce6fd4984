#pragma once
// The two files a ReplacingFile works with, one implementation per platform chosen by the
// build (replacing_file_posix.cpp, replacing_file_win32.cpp): the target as a plain open for
// writing finds it, and the temporary file beside it that takes its place. The order of the
// steps and what happens when one fails is replacing_file.cpp's, the same on every platform.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace common::replacing {

// The file at the target, looked at without changing it.
class TargetFile {
  public:
    enum class Found {
        Missing,   // nothing there: a new file will be created
        Writable,  // a file the user may write
        Refused,   // a folder, a read-only file, a folder that can't be looked into, ...
    };

    TargetFile();
    ~TargetFile();
    TargetFile(const TargetFile&) = delete;
    TargetFile& operator=(const TargetFile&) = delete;

    // Exactly the test a plain open for writing makes; remembers the file's attributes.
    Found open(const std::filesystem::path& target);
    // Whether a new file can take the target's place as an equal (a plain file with one
    // name). Only after open() found it Writable.
    bool replaceable() const;
    // The whole contents written into the target itself; the last resort where the new file
    // can't take its place.
    bool writeInPlace(std::string_view bytes);
    void close();

  private:
    friend class TemporaryFile;
    struct Native;
    std::unique_ptr<Native> native_;
};

// The new contents beside the target, protected from other writers' clean-up from its
// creation until it has taken the target's place or is removed.
class TemporaryFile {
  public:
    TemporaryFile();
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // A new one beside the target. False when none can be created there.
    bool create(const std::filesystem::path& target);
    bool append(std::string_view bytes);
    // Everything appended so far.
    bool readBack(std::string& bytes);
    // The contents on the disk before any name leads to them.
    bool flush();
    // The old file's permission bits, owner and group, or attributes, on the new file. False
    // where they can't be kept, so the new file would not be the old one's equal.
    bool takeOverAttributes(const TargetFile& old);
    // Takes the target's name in one step. False when it could not; the target is then
    // unchanged and the contents can still be read back.
    bool replace(const std::filesystem::path& target);
    // Closes it; unless it has replaced the target, nothing of it stays on the disk.
    void remove();

  private:
    struct Native;
    std::unique_ptr<Native> native_;
};

// Removes the temporary file at path when its writer has died; one still being written stays.
void RemoveIfAbandoned(const std::filesystem::path& path);

}  // namespace common::replacing
