#pragma once
// A backup of the whole PLC before a download changes it: every module, the configuration
// block and a project file, uploaded into a new folder named after the PLC's title and the
// local time (TITLE-YYYYMMDD-HHMMSS). The folder is a project that download accepts as it
// stands; restoring is downloading its project file.
#include <ctime>
#include <filesystem>
#include <string>

#include "plc/files/local_time.h"
#include "plc/files/transfer_log.h"
#include "plc/plc_programmer.h"

namespace plc {

namespace backup {
// The project files in the folder are named after the title cut to this length, so that
// the configuration line's file name fits the project file's 13 columns.
constexpr size_t kProjectNameLength = 8;
constexpr const char* kUntitled = "PLC";
// Folders tried for one backup (NAME, NAME-2, ...) before it gives up.
constexpr int kMaxNameAttempts = 1000;
}  // namespace backup

// "TITLE-YYYYMMDD-HHMMSS"; characters a folder name should not hold become "_".
std::string BackupFolderName(const std::string& title, const std::tm& time);
// The name of the .pr and .kb files inside the backup folder.
std::string BackupProjectName(const std::string& title);

// Backs the PLC up into a new folder inside parent (created when missing), on the title
// of the directory as last read. True when every file was written; the folder then holds
// them, and *folder names it. False after a message saying what failed. Communication
// failures throw CQuarnException.
bool BackUpPlc(CPlcProgrammer& programmer, const TransferLog& log,
               const std::filesystem::path& parent, const LocalTimeSource& localTime,
               std::filesystem::path* folder = nullptr);

}  // namespace plc
