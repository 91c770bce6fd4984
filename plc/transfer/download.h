#pragma once
// Download ("PC -> Quarn"): a project from the PC into the PLC. The PLC's modules are
// deleted, the configuration block is written after the technician confirms it, every module
// gets room from the PLC and is written code first, header last, and the PLC is started.
//
// Everything that can be checked on the PC is checked before the PLC is touched: the
// project's configuration entry and file, every module file, the firmware each module needs
// and the clashes of data block and function numbers with the PLC's modules. Any problem
// there is shown as the transfer would show it and leaves the PLC as it was.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "plc/files/configuration_file.h"
#include "plc/files/local_time.h"
#include "plc/files/module_file.h"
#include "plc/files/project_file.h"
#include "plc/files/transfer_log.h"
#include "plc/plc_programmer.h"
#include "plc/transfer/download_plan.h"

namespace plc {

enum class DownloadOutcome {
    kComplete,  // every entry went through; "All Modules successfully downloaded"
    kRefused,   // the project failed a check on the PC; the PLC was not touched
    kStopped,   // a module failed in the PLC (number 0 assigned); the PLC was started
    kHeld,      // the step before the first change (a backup) said no; the PLC untouched
};

namespace download {
// Room for the module code in the PLC is counted in pages of this size from then on.
constexpr std::uint16_t kModulePageSize = 0x0400;
// The configuration block goes into the PLC in three writes (block offset, address, bytes).
struct ConfigurationPart {
    size_t offset;
    std::uint16_t address;
    std::uint16_t length;
};
constexpr ConfigurationPart kConfigurationParts[] = {
    {0, 0x0400, 170}, {170, 0x04AA, 170}, {340, 0x0554, 172}};
// Reservation record (11 bytes): requested number / answer bytes 0-8, code length 9-10.
constexpr size_t kRecordNumber = 0;
constexpr size_t kRecordCodeOffset = 1;
constexpr size_t kRecordCodeSegment = 3;
constexpr size_t kRecordHeaderOffset = 5;
constexpr size_t kRecordHeaderSegment = 7;
constexpr size_t kRecordCodeLength = 9;
}  // namespace download

class Download {
  public:
    Download(CPlcProgrammer& programmer, const TransferLog& log,
             LocalTimeSource localTime = CurrentLocalTime);

    // Downloads the project file. Communication failures throw CQuarnException and end the
    // transfer at once (the PLC is then not started).
    DownloadOutcome Run(const std::filesystem::path& projectFile);

    // Everything Run does up to the first command that changes the PLC (directory read and
    // every check on the PC), then the plan instead of the transfer. Nothing is logged.
    // kComplete when the download would go ahead, kRefused when it would be refused.
    DownloadOutcome Rehearse(const std::filesystem::path& projectFile, DownloadPlan& plan);

    // Runs after every check passed, before the first command that changes the PLC; when it
    // returns false the download ends there with kHeld. Its communication failures end the
    // download like the download's own.
    void SetBeforeChanges(std::function<bool()> step) { beforeChanges_ = std::move(step); }

    // What the last Run sent: each module's header as completed and its code with the sum,
    // in list order, and the configuration block when it was written.
    struct WrittenModule {
        ModuleHeader header{};
        std::string code;
    };
    const std::vector<WrittenModule>& written() const { return written_; }
    const std::optional<ConfigurationBlock>& writtenConfiguration() const {
        return writtenConfiguration_;
    }

    // Why the module file the last Run or Rehearse refused could not be opened at all
    // (missing, no permission, ...); empty otherwise.
    const std::string& unreadableFile() const { return unreadable_; }

    // The project as last read: its folder and accepted lines.
    const std::filesystem::path& projectFolder() const { return folder_; }
    const std::vector<ModuleRecord>& projectModules() const { return records_; }

  private:
    struct PreparedModule {
        const ModuleRecord* record;
        ModuleImage image;
    };

    bool Prepare(ConfigurationBlock& work, std::vector<PreparedModule>& modules);
    bool CheckProject(ConfigurationBlock& work, std::vector<PreparedModule>& modules);
    bool CheckModule(const ModuleRecord& record, PreparedModule& module);
    void DownloadConfiguration(const ConfigurationBlock& work, const std::filesystem::path& path);
    bool DownloadModule(PreparedModule& module);
    std::uint8_t NumberToRequest(const ModuleRecord& record, const std::string& name);
    std::filesystem::path InFolder(const ModuleRecord& record) const {
        return RecordPath(folder_, record);
    }
    std::string Now() const { return FormatLogTime(localTime_()); }

    CPlcProgrammer& programmer_;
    const TransferLog& log_;
    LocalTimeSource localTime_;
    std::filesystem::path folder_;
    std::vector<ModuleRecord> records_;
    std::function<bool()> beforeChanges_;
    std::vector<WrittenModule> written_;
    std::optional<ConfigurationBlock> writtenConfiguration_;
    std::string unreadable_;
};

}  // namespace plc
