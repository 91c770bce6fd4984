#pragma once
// Writing a file so that nobody ever finds it half-written: the new contents go into a
// temporary file beside the target, which takes the target's place in one step once it is
// complete. What a technician sees under the target's name is the old file or the whole new
// one, never a mixture, and a program killed while writing leaves nothing that could be
// taken for data: the temporary file has no name on systems that allow that, and otherwise
// a hidden one (".NAME.~incomplete-XXXXXX") that the next write into that folder removes.
//
// Towards the user the write behaves like opening the target for writing:
// - a target the user may not write (read-only, a folder, a missing folder) is refused by
//   open(), before anything is changed, so the caller shows its usual open failure;
// - the new file keeps the old file's permission bits (and its owner and group where the
//   system lets us set them);
// - where the new file can't take the old one's place as an equal (no temporary file can be
//   created beside it, the target has further hard links, is no plain file, or its owner
//   can't be kept), the contents are written into the target itself, when they are
//   complete, as a plain write would.
// A symbolic link is followed: the file it points to is written, the link stays.
#include <filesystem>
#include <memory>
#include <string_view>

namespace common {

class ReplacingFile {
  public:
    explicit ReplacingFile(std::filesystem::path target);
    // Without commit(), as discard(): the target stays as it was.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Prepares the new file. False where opening the target for writing would fail; then
    // nothing has changed on the disk.
    bool open();
    // Adds bytes to the new contents; false when they could not be written (commit() then
    // fails, and the target stays as it was).
    bool append(std::string_view bytes);
    // Puts the complete new contents in the target's place. False when that failed; the
    // target then is the old file, except in the rare case that the contents had to be
    // written into the target itself and that write broke off.
    bool commit();
    // Drops the new contents; the target stays as it was.
    void discard();

    // After open(): whether a file stood at the target (the new contents would replace it).
    bool replacesExisting() const;
    // The file that is written: the target, or what it points to when it is a symbolic link.
    const std::filesystem::path& resolvedTarget() const;

  private:
    struct Impl;  // the write's state machine, the same on every platform (replacing_file.cpp)
    std::unique_ptr<Impl> impl_;
};

enum class ReplaceResult {
    Written,
    NotOpened,    // refused as opening the target would have been; nothing changed
    WriteFailed,  // opened, but the contents could not be written; the old file stays
};

// Writes a whole file through a ReplacingFile.
ReplaceResult ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes);
// The same, true only for Written.
bool WriteFileReplacing(const std::filesystem::path& target, std::string_view bytes);

// The name pattern of the hidden temporary files: ".NAME.~incomplete-" and six letters or
// digits. Exposed for tests and for tools that list a folder.
bool IsIncompleteFileName(const std::string& fileName);

}  // namespace common
