#pragma once
// Upload ("Quarn -> PC"): every module of the PLC into a module file, the configuration
// block into <folder name>.kb and a project file <folder name>.pr that download accepts,
// all in one folder. Every file is written beside its target first and all are put in place
// together at the end (staged_files.h): an upload that fails, is refused or is interrupted
// on the way leaves the folder's old project as it was, never half old and half new.
#include <filesystem>
#include <string>

#include "plc/files/local_time.h"
#include "plc/files/transfer_log.h"
#include "plc/plc_programmer.h"
#include "plc/transfer/staged_files.h"

namespace plc {

enum class UploadOutcome {
    kComplete,   // "All Modules successfully uploaded"
    kAborted,    // the technician would not overwrite a file: "Upload aborted"
    kFileError,  // a module, .kb or .pr file could not be written: "Error"
};

namespace upload {
// Logged when an upload that logged "ok" lines ends without putting its files in place.
constexpr const char* kNotPutInPlaceText =
    "Upload not completed: none of its files were put in place, the folder holds what it "
    "held before\n";
// Logged instead when the files already put in place could not all get their old contents
// back.
constexpr const char* kPutBackFailedText =
    "Upload not completed: its files were put in place in part and the old ones could not "
    "all be put back, the folder mixes two projects\n";
}  // namespace upload

class Upload {
  public:
    Upload(CPlcProgrammer& programmer, const TransferLog& log,
           LocalTimeSource localTime = CurrentLocalTime);

    // Uploads into the folder, which must exist. Communication failures throw
    // CQuarnException; the folder then holds what it held before.
    UploadOutcome Run(const std::filesystem::path& folder);
    // Names the .kb and .pr files (and the project line) instead of the folder's own name.
    void SetProjectName(std::string name) { projectName_ = std::move(name); }

  private:
    enum class ModuleResult { kWritten, kAborted, kFileError };
    ModuleResult UploadModule(const std::filesystem::path& path, const ModuleEntry& entry,
                              StagedFiles& files);
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
