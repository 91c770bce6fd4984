#include "plc/transfer/upload.h"

#include "common/format.h"
#include "plc/files/configuration_file.h"
#include "plc/files/module_file.h"
#include "plc/files/project_file.h"
#include "plc/transfer/block_transfer.h"
#include "plc/transfer/plc_directory.h"
#include "plc/transfer/staged_files.h"

namespace plc {

namespace {

constexpr std::uint32_t kSegmentSpan = 65536;
constexpr std::uint32_t kParagraph = 16;

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
    return full.filename().string();
}

Upload::Upload(CPlcProgrammer& programmer, const TransferLog& log, LocalTimeSource localTime)
    : programmer_(programmer), log_(log), localTime_(std::move(localTime)) {}

UploadOutcome Upload::Run(const std::filesystem::path& folder) {
    common::Frontend& frontend = programmer_.frontend();
    BusyCursor busy(frontend);
    log_.Append(common::Format("Start upload at %s\n", Now().c_str()));
    ReadPlcDirectory(programmer_);
    overwriteConfirmed_ = false;

    // Every file is written beside its target first and put in place only once all are
    // ready: an upload that fails or is refused on the way leaves the old project whole.
    const PlcState& state = programmer_.state();
    StagedFiles modules;
    for (const ModuleEntry& entry : state.modules) {
        switch (UploadModule(folder / (entry.name() + ".ob"), entry, modules)) {
            case ModuleResult::kWritten:
                log_.Append(common::Format("\t%s.ob\tok\n", entry.name().c_str()));
                break;
            case ModuleResult::kAborted:
                frontend.setStatus("Upload aborted");
                return UploadOutcome::kAborted;
            case ModuleResult::kFileError:
                frontend.setStatus("Error");
                return UploadOutcome::kFileError;
        }
    }

    const std::string name = FolderName(folder);
    const std::string block(reinterpret_cast<const char*>(state.configurationBlock.data()),
                            state.configurationBlock.size());
    // Neither file is asked about, and one that can't be written is left out silently, as
    // the tool always did; the module files are what the technician is told about.
    StagedFiles configurationFile, projectFile;
    configurationFile.Stage(folder / (name + ".kb"), block);
    std::string project = FormatProjectLine(0, project::kConfigurationKind, name + ".kb");
    for (const ModuleEntry& entry : state.modules)
        project += FormatProjectLine(entry.number(), entry.kind(), entry.name() + ".ob");
    projectFile.Stage(folder / (name + ".pr"), project);

    if (!modules.CommitAll()) {
        frontend.message(kCannotOpenText);
        frontend.setStatus("Error");
        return UploadOutcome::kFileError;
    }
    if (configurationFile.size() != 0 && configurationFile.CommitAll()) {
        const std::string shown = (std::filesystem::path(name) / (name + ".kb")).string();
        log_.Append(common::Format("\t%s\tok\n", shown.c_str()));
    }
    projectFile.CommitAll();

    log_.Append(common::Format("All Modules successfully uploaded at %s\n", Now().c_str()));
    frontend.setStatus("All Modules successfully uploaded");
    return UploadOutcome::kComplete;
}

Upload::ModuleResult Upload::UploadModule(const std::filesystem::path& path,
                                          const ModuleEntry& entry, StagedFiles& files) {
    common::Frontend& frontend = programmer_.frontend();
    const InfoBlock& info = programmer_.state().infoBlock;
    const size_t length = entry.codeLength();  // with the 2-byte sum
    const size_t codeLength = length >= module_file::kSumSize ? length - module_file::kSumSize : 0;

    std::string file(reinterpret_cast<const char*>(entry.bytes.data()), header::kSize);
    SetHeaderWord(reinterpret_cast<std::uint8_t*>(file.data()), header::kCodeLength,
                  static_cast<std::uint16_t>(codeLength));

    const std::uint32_t linear =
        static_cast<std::uint32_t>(entry.startPage()) * info.pageSize() +
        static_cast<std::uint32_t>(info.configurationSegment()) * kParagraph;
    const BlockDescriptor block{static_cast<std::uint16_t>(linear % kSegmentSpan),
                                static_cast<std::uint16_t>(length),
                                static_cast<std::uint16_t>(linear / kSegmentSpan * 4096)};
    std::string code;
    RequireDone(ReadBlock(programmer_, command::kReadSegment, block, code, &entry));

    const std::string_view body = std::string_view(code).substr(0, codeLength);
    const bool sumAgrees =
        length >= module_file::kSumSize &&
        CodeSum(body) ==
            HeaderWord(reinterpret_cast<const std::uint8_t*>(code.data()) + codeLength, 0);
    if (!sumAgrees) {
        file[header::kFirmwareMajor] =
            static_cast<char>(file[header::kFirmwareMajor] | header::kDamagedMark);
        frontend.message("ERROR_BLOCK_CHECKSUM" + path.string());
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
