#pragma once
// Files of one transfer that go into place together. Each is written completely beside its
// target first; only when every file is ready are they put in place, one after the other, so
// a transfer that fails or is refused on the way leaves the folder as it was. What is not
// committed is removed when the set goes away.
//
// The putting in place is a rename per file: a rename that fails in the middle (the folder
// taken away, a directory in a target's place) leaves the files before it in place.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/file_helpers.h"

namespace plc {

class StagedFiles {
  public:
    // Writes the bytes beside the target; false when that can't be done (nothing is staged).
    bool Stage(const std::filesystem::path& target, const std::string& bytes);
    // Puts the staged files in place in the order they were staged. False at the first one
    // that can't be put in place; the ones after it are removed.
    bool CommitAll();
    // Removes every staged file that is not in place yet.
    void DiscardAll() { files_.clear(); }
    size_t size() const { return files_.size(); }

  private:
    std::vector<std::unique_ptr<common::ReplacingFile>> files_;
};

}  // namespace plc
