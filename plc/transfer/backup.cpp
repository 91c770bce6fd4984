#include "plc/transfer/backup.h"

#include <cctype>

#include "common/format.h"
#include "common/utf8_path.h"
#include "plc/transfer/upload.h"

namespace plc {

namespace {

std::string SafeName(const std::string& title) {
    std::string name;
    for (char c : title) {
        const auto u = static_cast<unsigned char>(c);
        name += (std::isalnum(u) || c == '-' || c == '_') ? c : '_';
    }
    return name.empty() ? backup::kUntitled : name;
}

}  // namespace

std::string BackupFolderName(const std::string& title, const std::tm& t) {
    return common::Format("%s-%04d%02d%02d-%02d%02d%02d", SafeName(title).c_str(), t.tm_year + 1900,
                          t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
}

std::string BackupProjectName(const std::string& title) {
    return SafeName(title).substr(0, backup::kProjectNameLength);
}

bool BackUpPlc(CPlcProgrammer& programmer, const TransferLog& log,
               const std::filesystem::path& parent, const LocalTimeSource& localTime,
               std::filesystem::path* folder) {
    common::Frontend& frontend = programmer.frontend();
    const std::string title = programmer.state().titleText;
    const std::string base = BackupFolderName(title, localTime());
    std::error_code ec;
    std::filesystem::create_directories(parent, ec);
    // The folder is claimed by creating it: a name another backup took within the same
    // second (or a folder that is there already) is passed over for the next one.
    std::filesystem::path target = parent / base;
    for (int n = 2;; ++n) {
        ec.clear();
        if (std::filesystem::create_directory(target, ec)) break;
        const bool taken = !ec || ec == std::errc::file_exists;
        if (!taken || n > backup::kMaxNameAttempts) {
            frontend.message(common::Format(
                "Cannot create the backup folder %s: %s", common::Utf8FromPath(target).c_str(),
                !taken ? ec.message().c_str() : "too many backups with this name in that folder"));
            return false;
        }
        target = parent / common::Format("%s-%d", base.c_str(), n);
    }
    frontend.setStatus(
        common::Format("Back up the PLC into %s", common::Utf8FromPath(target).c_str()));
    Upload upload(programmer, log, localTime);
    const std::string name = BackupProjectName(title);
    upload.SetProjectName(name);
    // The upload writes every file or puts none in place, and says which it was.
    if (upload.Run(target) != UploadOutcome::kComplete) return false;
    if (folder) *folder = target;
    return true;
}

}  // namespace plc
