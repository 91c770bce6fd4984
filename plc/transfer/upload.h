#pragma once
// Upload ("Quarn -> PC"): every module of the PLC into a module file, the configuration
// block into <folder name>.kb and a project file <folder name>.pr that download accepts,
// all in one folder. Each file is written under a temporary name and renamed into place
// once complete, so an interrupted upload never leaves a truncated file over a good one.
#include <filesystem>
#include <string>

#include "plc/files/local_time.h"
#include "plc/files/transfer_log.h"
#include "plc/plc_programmer.h"

namespace plc {

enum class UploadOutcome {
    kComplete,   // "All Modules successfully uploaded"
    kAborted,    // the technician would not overwrite a file: "Upload aborted"
    kFileError,  // a module file could not be written: "Error"
};

class Upload {
  public:
    Upload(CPlcProgrammer& programmer, const TransferLog& log,
           LocalTimeSource localTime = CurrentLocalTime);

    // Uploads into the folder, which must exist. Communication failures throw
    // CQuarnException; the files written until then stay.
    UploadOutcome Run(const std::filesystem::path& folder);
    // Names the .kb and .pr files (and the project line) instead of the folder's own name.
    void SetProjectName(std::string name) { projectName_ = std::move(name); }

  private:
    enum class ModuleResult { kWritten, kAborted, kFileError };
    ModuleResult UploadModule(const std::filesystem::path& path, const ModuleEntry& entry);
    std::string Now() const { return FormatLogTime(localTime_()); }

    CPlcProgrammer& programmer_;
    const TransferLog& log_;
    LocalTimeSource localTime_;
    bool overwriteConfirmed_ = false;
    std::string projectName_;
};

// The folder's own name: the last component of its full path ("/p/abc/" gives "abc", "."
// the name of the current folder).
std::string FolderName(const std::filesystem::path& folder);

}  // namespace plc
