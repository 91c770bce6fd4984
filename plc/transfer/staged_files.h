#pragma once
// Files of one transfer that go into place together. Each is written completely beside its
// target first; only when every file is ready are they put in place, one after the other, so
// a transfer that fails or is refused on the way leaves the folder as it was. What is not
// committed is removed when the set goes away.
//
// Putting them in place keeps what stood at the targets until every new file is in place:
// the old files' contents are read first (nothing is changed when one can't be read), and
// when a later file can't be put in place, the ones already in place get their old contents
// back and the targets that did not exist before are removed again.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/file_helpers.h"

namespace plc {

class StagedFiles {
  public:
    // Writes the bytes beside the target; false when that can't be done (nothing is staged).
    bool Stage(const std::filesystem::path& target, const std::string& bytes);
    // Puts the staged files in place in the order they were staged. False when one can't be
    // put in place: the folder then holds what it held before (see above), and every staged
    // file is removed.
    bool CommitAll();
    // After a CommitAll that failed: true when a file already in place could not get its
    // old contents back (or be removed again), so the folder is not as it was.
    bool putBackFailed() const { return putBackFailed_; }
    // Removes every staged file that is not in place yet.
    void DiscardAll() { files_.clear(); }
    size_t size() const { return files_.size(); }

  private:
    struct Staged {
        std::unique_ptr<common::ReplacingFile> file;  // its resolvedTarget() is the file written
        std::optional<std::string> old;               // what stood at the target; none: nothing did
    };
    static bool PutBack(const Staged& staged);

    std::vector<Staged> files_;
    bool putBackFailed_ = false;
};

}  // namespace plc
