#include "plc/transfer/staged_files.h"

namespace plc {

bool StagedFiles::Stage(const std::filesystem::path& target, const std::string& bytes) {
    auto file = std::make_unique<common::ReplacingFile>(target);
    if (!file->open() || !file->append(bytes)) return false;  // its destructor removes it
    files_.push_back(std::move(file));
    return true;
}

bool StagedFiles::CommitAll() {
    bool good = true;
    for (auto& file : files_) {
        if (!file->commit()) {
            good = false;
            break;
        }
    }
    files_.clear();  // the ones not committed are removed with them
    return good;
}

}  // namespace plc
