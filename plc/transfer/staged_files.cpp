#include "plc/transfer/staged_files.h"

namespace plc {

bool StagedFiles::Stage(const std::filesystem::path& target, const std::string& bytes) {
    auto file = std::make_unique<common::ReplacingFile>(target);
    if (!file->open() || !file->append(bytes)) return false;  // its destructor removes it
    files_.push_back({std::move(file), std::nullopt});
    return true;
}

bool StagedFiles::PutBack(const Staged& staged) {
    const std::filesystem::path& target = staged.file->resolvedTarget();
    if (staged.old) return common::WriteFileReplacing(target, *staged.old);
    std::error_code ec;
    std::filesystem::remove(target, ec);
    return !ec;
}

bool StagedFiles::CommitAll() {
    std::vector<Staged> files = std::move(files_);
    files_.clear();
    putBackFailed_ = false;
    // The old contents first: a target that is there but can't be read could not be put
    // back, so nothing is changed then.
    for (Staged& staged : files) {
        if (!staged.file->replacesExisting()) continue;
        staged.old = common::ReadWholeFile(staged.file->resolvedTarget());
        if (!staged.old) return false;  // the staged files are removed with the set
    }
    for (size_t i = 0; i < files.size(); ++i) {
        if (files[i].file->commit()) continue;
        // A failed commit leaves its own target as it was, unless its contents had to be
        // written into the target itself and that broke off; the ones before it go back.
        for (size_t k = 0; k < i; ++k)
            if (!PutBack(files[k])) putBackFailed_ = true;
        if (files[i].old && !PutBack(files[i])) putBackFailed_ = true;
        return false;
    }
    return true;
}

}  // namespace plc
