#include "plc/transfer/backup.h"

#include <cctype>

#include "common/format.h"
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
    std::filesystem::path target = parent / base;
    std::error_code ec;
    // Two backups within one second get their own folders.
    for (int n = 2; std::filesystem::exists(target, ec); ++n)
        target = parent / common::Format("%s-%d", base.c_str(), n);
    std::filesystem::create_directories(target, ec);
    if (ec || !std::filesystem::is_directory(target, ec)) {
        frontend.message(common::Format("Cannot create the backup folder %s: %s",
                                        target.string().c_str(), ec.message().c_str()));
        return false;
    }
    frontend.setStatus(common::Format("Back up the PLC into %s", target.string().c_str()));
    Upload upload(programmer, log, localTime);
    const std::string name = BackupProjectName(title);
    upload.SetProjectName(name);
    if (upload.Run(target) != UploadOutcome::kComplete) return false;
    // The upload leaves out a .kb or .pr file it could not write; a backup without them
    // is no backup.
    for (const char* extension : {".kb", ".pr"}) {
        if (!std::filesystem::exists(target / (name + extension), ec)) {
            frontend.message(common::Format("Cannot write the backup file %s",
                                            (target / (name + extension)).string().c_str()));
            return false;
        }
    }
    if (folder) *folder = target;
    return true;
}

}  // namespace plc
