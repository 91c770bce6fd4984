#include "plc/transfer/upload.h"

#include "common/format.h"
#include "common/utf8_path.h"
#include "plc/files/configuration_file.h"
#include "plc/files/module_file.h"
#include "plc/files/project_file.h"
#include "plc/transfer/block_transfer.h"
#include "plc/transfer/module_address.h"
#include "plc/transfer/plc_directory.h"
#include "plc/transfer/staged_files.h"

namespace plc {

namespace {

// A module name from the PLC becomes a file name: it must not lead out of the folder, nor be
// empty (a damaged or half-downloaded module would become the hidden file ".ob").
bool SafeFileName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos && name != "." && name != "..";
}

constexpr const char* kCannotOpenText = "Kann file nicht öffnen";

}  // namespace

std::string FolderName(const std::filesystem::path& folder) {
    // "." or "sub/.." name no folder of their own: the name comes from the full path.
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(folder, ec);
    if (ec) full = folder;
    full = full.lexically_normal();
    if (!full.has_filename()) full = full.parent_path();
    return common::Utf8FromPath(full.filename());
}

Upload::Upload(CPlcProgrammer& programmer, const TransferLog& log, LocalTimeSource localTime)
    : programmer_(programmer), log_(log), localTime_(std::move(localTime)) {}

namespace {

// Once an "ok" line is in the log, an upload that then ends without putting its files in
// place says so, however it ends (a refusal, a file error, a communication failure).
class NotPutInPlaceNote {
  public:
    explicit NotPutInPlaceNote(const TransferLog& log) : log_(log) {}
    NotPutInPlaceNote(const NotPutInPlaceNote&) = delete;
    NotPutInPlaceNote& operator=(const NotPutInPlaceNote&) = delete;
    ~NotPutInPlaceNote() {
        if (mixed_)
            log_.Append(upload::kPutBackFailedText);
        else if (logged_ && !done_)
            log_.Append(upload::kNotPutInPlaceText);
    }
    void Logged() { logged_ = true; }
    void Done() { done_ = true; }
    void Mixed() { mixed_ = true; }

  private:
    const TransferLog& log_;
    bool logged_ = false;
    bool done_ = false;
    bool mixed_ = false;
};

}  // namespace

UploadOutcome Upload::Run(const std::filesystem::path& folder) {
    common::Frontend& frontend = programmer_.frontend();
    BusyCursor busy(frontend);
    log_.Append(common::Format("Start upload at %s\n", Now().c_str()));
    NotPutInPlaceNote note(log_);
    ReadPlcDirectory(programmer_);
    overwriteConfirmed_ = false;

    // Every file is written beside its target first and put in place only once all are
    // ready: an upload that fails or is refused on the way leaves the old project whole.
    const PlcState& state = programmer_.state();
    StagedFiles files;
    for (const ModuleEntry& entry : state.modules) {
        switch (UploadModule(folder / common::PathFromUtf8(entry.name() + ".ob"), entry, files)) {
            case ModuleResult::kWritten:
                log_.Append(common::Format("\t%s.ob\tok\n", entry.name().c_str()));
                note.Logged();
                break;
            case ModuleResult::kAborted:
                frontend.setStatus("Upload aborted");
                return UploadOutcome::kAborted;
            case ModuleResult::kFileError:
                frontend.setStatus("Error");
                return UploadOutcome::kFileError;
        }
    }

    // Neither file is asked about. One that can't be written ends the upload as a module
    // file does: without it the folder is no project a download accepts.
    const std::string name = projectName_.empty() ? FolderName(folder) : projectName_;
    const std::string block(reinterpret_cast<const char*>(state.configurationBlock.data()),
                            state.configurationBlock.size());
    std::string project = FormatProjectLine(0, project::kConfigurationKind, name + ".kb");
    for (const ModuleEntry& entry : state.modules)
        project += FormatProjectLine(entry.number(), entry.kind(), entry.name() + ".ob");
    if (!SafeFileName(name) || !files.Stage(folder / common::PathFromUtf8(name + ".kb"), block) ||
        !files.Stage(folder / common::PathFromUtf8(name + ".pr"), project) || !files.CommitAll()) {
        if (files.putBackFailed()) note.Mixed();
        frontend.message(kCannotOpenText);
        frontend.setStatus("Error");
        return UploadOutcome::kFileError;
    }
    note.Done();
    const std::string shown =
        common::Utf8FromPath(common::PathFromUtf8(name) / common::PathFromUtf8(name + ".kb"));
    log_.Append(common::Format("\t%s\tok\n", shown.c_str()));
    log_.Append(common::Format("All Modules successfully uploaded at %s\n", Now().c_str()));
    frontend.setStatus("All Modules successfully uploaded");
    return UploadOutcome::kComplete;
}

Upload::ModuleResult Upload::UploadModule(const std::filesystem::path& path,
                                          const ModuleEntry& entry, StagedFiles& files) {
    common::Frontend& frontend = programmer_.frontend();
    const size_t length = entry.codeLength();  // with the 2-byte sum
    const size_t codeLength = length >= module_file::kSumSize ? length - module_file::kSumSize : 0;

    std::string file(reinterpret_cast<const char*>(entry.bytes.data()), header::kSize);
    SetHeaderWord(reinterpret_cast<std::uint8_t*>(file.data()), header::kCodeLength,
                  static_cast<std::uint16_t>(codeLength));

    std::string code;
    RequireDone(ReadBlock(programmer_, command::kReadSegment,
                          ModuleCodeBlock(entry, programmer_.state().infoBlock), code, &entry));

    const std::string_view body = std::string_view(code).substr(0, codeLength);
    const bool sumAgrees =
        length >= module_file::kSumSize &&
        CodeSum(body) ==
            HeaderWord(reinterpret_cast<const std::uint8_t*>(code.data()) + codeLength, 0);
    if (!sumAgrees) {
        file[header::kFirmwareMajor] =
            static_cast<char>(file[header::kFirmwareMajor] | header::kDamagedMark);
        frontend.message("ERROR_BLOCK_CHECKSUM" + common::Utf8FromPath(path));
    }

    if (!SafeFileName(entry.name())) {
        frontend.message(kCannotOpenText);
        return ModuleResult::kFileError;
    }
    std::error_code ec;
    if (std::filesystem::exists(path, ec) && !overwriteConfirmed_) {
        if (!frontend.ask("Ovwewrite Files?")) return ModuleResult::kAborted;
        overwriteConfirmed_ = true;
    }
    file.append(body);
    if (!files.Stage(path, file)) {
        frontend.message(kCannotOpenText);
        return ModuleResult::kFileError;
    }
    return ModuleResult::kWritten;
}

}  // namespace plc
