#include "plc/transfer/download.h"

#include <algorithm>

#include "common/format.h"
#include "common/utf8_path.h"
#include "plc/transfer/block_transfer.h"
#include "plc/transfer/download_contents.h"
#include "plc/transfer/module_address.h"
#include "plc/transfer/plc_directory.h"

namespace plc {

namespace {

std::uint16_t RecordWord(const ReservationRecord& record, size_t at) {
    return static_cast<std::uint16_t>(record[at] | (record[at + 1] << 8));
}

std::string_view Bytes(const ModuleHeader& header) {
    return std::string_view(reinterpret_cast<const char*>(header.data()), header.size());
}

// The clash text when the PLC's module and the project's module are both data blocks (or
// both functions) with the same number and different names; empty when they don't clash.
std::string NumberClash(const ModuleEntry& present, const ModuleHeader& incoming) {
    const std::uint8_t kind = incoming[header::kKind];
    if (present.kind() != kind ||
        (kind != module_file::kDataBlockKind && kind != module_file::kFunctionKind))
        return {};
    const std::uint16_t number = HeaderWord(incoming.data(), header::kOwnNumber);
    const std::uint16_t presentNumber = HeaderWord(present.bytes.data(), header::kOwnNumber);
    const std::string name = HeaderName(incoming.data());
    if (number != presentNumber || name == present.name()) return {};
    const char* format = kind == module_file::kDataBlockKind
                             ? "%s.OB: DB.NR=%d <-> %s.OB: DB.NR=%d"
                             : "%s.OB: FN.NR=%d <-> %s.OB: FN.NR=%d";
    return common::Format(format, present.name().c_str(), presentNumber, name.c_str(), number);
}

void SortByNumber(ModuleTable& table) {
    std::stable_sort(table.begin(), table.end(), [](const ModuleEntry& a, const ModuleEntry& b) {
        return a.number() < b.number();
    });
}

}  // namespace

Download::Download(CPlcProgrammer& programmer, const TransferLog& log, LocalTimeSource localTime)
    : programmer_(programmer), log_(log), localTime_(std::move(localTime)) {}

bool Download::Prepare(ConfigurationBlock& work, std::vector<PreparedModule>& modules) {
    unreadable_.clear();
    ReadPlcDirectory(programmer_);
    return CheckProject(work, modules);
}

DownloadOutcome Download::Rehearse(const std::filesystem::path& projectFile, DownloadPlan& plan) {
    BusyCursor busy(programmer_.frontend());
    records_.clear();
    folder_ = projectFile.parent_path();
    if (auto records = ReadProjectFile(projectFile)) records_ = std::move(*records);
    const bool identifiedBefore = programmer_.state().identified;
    ConfigurationBlock work{};
    std::vector<PreparedModule> modules;
    if (!Prepare(work, modules)) return DownloadOutcome::kRefused;
    std::vector<const ModuleImage*> images;
    images.reserve(modules.size());
    for (const PreparedModule& module : modules) images.push_back(&module.image);
    const PlcState& state = programmer_.state();
    const bool configurationAllowed =
        state.configurationBlock[configuration::kMasterFunction] == 0 ||
        programmer_.FirmwareAtLeast(1, 4);
    plan = MakeDownloadPlan(state, identifiedBefore, records_, images, work, configurationAllowed);
    return DownloadOutcome::kComplete;
}

DownloadOutcome Download::Run(const std::filesystem::path& projectFile) {
    BusyCursor busy(programmer_.frontend());
    records_.clear();
    written_.clear();
    writtenConfiguration_.reset();
    folder_ = projectFile.parent_path();
    if (auto records = ReadProjectFile(projectFile)) records_ = std::move(*records);
    log_.Append(common::Format("Start download at %s\n", Now().c_str()));

    ConfigurationBlock work{};
    std::vector<PreparedModule> modules;
    if (!Prepare(work, modules)) return DownloadOutcome::kRefused;
    if (beforeChanges_ && !beforeChanges_()) return DownloadOutcome::kHeld;

    programmer_.SendShortCommand(command::kSetFlags);
    // A copy: deleting a module named again in the project re-sorts the table.
    for (const ModuleEntry& entry : ModuleTable(programmer_.state().modules))
        programmer_.DeleteModule(entry.number());

    bool complete = true;
    auto next = modules.begin();
    for (const ModuleRecord& record : records_) {
        if (record.number == 0) {
            DownloadConfiguration(work, InFolder(record));
            continue;
        }
        if (!DownloadModule(*next++)) {
            complete = false;
            break;
        }
    }
    programmer_.SendShortCommand(command::kStart);
    if (!complete) return DownloadOutcome::kStopped;
    log_.Append(common::Format("All Modules successfully downloaded at %s\n", Now().c_str()));
    programmer_.frontend().setStatus("All Modules successfully downloaded");
    return DownloadOutcome::kComplete;
}

bool Download::CheckProject(ConfigurationBlock& work, std::vector<PreparedModule>& modules) {
    std::optional<ConfigurationBlock> configuration = ConfigurationToSend(
        records_, folder_, programmer_.state().configurationBlock, programmer_.frontend());
    if (!configuration) return false;
    work = *configuration;
    for (const ModuleRecord& record : records_) {
        if (record.number == 0) continue;
        PreparedModule module{&record, {}};
        if (!CheckModule(record, module)) return false;
        modules.push_back(std::move(module));
    }
    return true;
}

bool Download::CheckModule(const ModuleRecord& record, PreparedModule& module) {
    common::Frontend& frontend = programmer_.frontend();
    const PlcState& state = programmer_.state();
    if (!ReadModuleToSend(folder_, record, state.infoBlock.variant(), module.image, frontend,
                          &unreadable_))
        return false;
    const ModuleHeader& header = module.image.header;
    const std::uint8_t needed = header[header::kFirmwareMajor];
    if (needed > state.firmwareMajor) {
        const char* text = (needed & header::kDamagedMark) ? "ERROR_FILEDATA" : "ERROR_FW_VERSION";
        frontend.message(text + common::Format("%s %d.%d <-> %d.%d", record.fileName.c_str(),
                                               needed, header[header::kFirmwareMinor],
                                               state.firmwareMajor, state.firmwareMinor));
        return false;
    }
    for (const ModuleEntry& present : state.modules) {
        std::string clash = NumberClash(present, header);
        if (!clash.empty()) {
            frontend.message("ERROR_DUP_DBNR:" + clash);
            return false;
        }
    }
    return true;
}

void Download::DownloadConfiguration(const ConfigurationBlock& work,
                                     const std::filesystem::path& path) {
    common::Frontend& frontend = programmer_.frontend();
    const PlcState& state = programmer_.state();
    if (state.configurationBlock[configuration::kMasterFunction] != 0 &&
        !programmer_.FirmwareAtLeast(1, 4)) {
        frontend.message("ERROR_FW_VERSION,MASTER");
        return;
    }
    programmer_.SendShortCommand(command::kSetFlags);
    frontend.setStatus("");
    if (!frontend.ask(common::Format("Download the configuration file %s",
                                     common::Utf8FromPath(path).c_str())))
        return;
    frontend.setStatus("Load configuration file");
    log_.Append("Load configuration file\n");
    const std::string_view bytes(reinterpret_cast<const char*>(work.data()), work.size());
    for (const download::ConfigurationPart& part : download::kConfigurationParts) {
        WriteBlock(programmer_, command::kWriteConfiguration,
                   BlockDescriptor{part.address, part.length, 0},
                   bytes.substr(part.offset, part.length));
    }
    writtenConfiguration_ = work;
}

std::uint8_t Download::NumberToRequest(const ModuleRecord& record, const std::string& name) {
    ModuleTable& table = programmer_.state().modules;
    bool deleteFirst = false;
    const std::uint8_t number = RequestedNumber(record, name, table, deleteFirst);
    if (deleteFirst) {
        auto found = std::find_if(table.begin(), table.end(),
                                  [&](const ModuleEntry& e) { return e.name() == name; });
        programmer_.DeleteModule(found->number());
        SortByNumber(table);
    }
    return number;
}

bool Download::DownloadModule(PreparedModule& module) {
    const ModuleRecord& record = *module.record;
    ModuleHeader& header = module.image.header;
    const std::string& code = module.image.code;
    PlcState& state = programmer_.state();

    ReservationRecord reservation{};
    reservation[download::kRecordNumber] = NumberToRequest(record, HeaderName(header.data()));
    const auto codeLength = static_cast<std::uint16_t>(code.size());
    reservation[download::kRecordCodeLength] = static_cast<std::uint8_t>(codeLength & 0xFF);
    reservation[download::kRecordCodeLength + 1] = static_cast<std::uint8_t>(codeLength >> 8);
    ThrowIfFailed(programmer_.ReserveModule(reservation) != 0);
    state.infoBlock.setWord(InfoBlock::kPageSize, download::kModulePageSize);

    const std::uint8_t assigned = reservation[download::kRecordNumber];
    if (assigned == 0) {
        programmer_.frontend().message("Error or pause");
        return false;
    }
    const std::uint16_t codeOffset = RecordWord(reservation, download::kRecordCodeOffset);
    const std::uint16_t codeSegment = RecordWord(reservation, download::kRecordCodeSegment);
    const std::uint16_t headerOffset = RecordWord(reservation, download::kRecordHeaderOffset);
    const std::uint16_t headerSegment = RecordWord(reservation, download::kRecordHeaderSegment);
    const std::uint8_t startPage = StartPageAt(
        codeSegment, codeOffset, state.infoBlock.configurationSegment(), download::kModulePageSize);

    WriteBlock(programmer_, command::kWriteSegmentProgress,
               BlockDescriptor{codeOffset, codeLength, codeSegment}, code, record.fileName);

    CompleteModuleHeader(header, record.kindLetter, assigned, startPage, codeLength);
    programmer_.exchange().Pause(kRequestPause);
    WriteBlock(
        programmer_, command::kWriteSegment,
        BlockDescriptor{headerOffset, static_cast<std::uint16_t>(header::kSize), headerSegment},
        Bytes(header));
    written_.push_back({header, code});
    log_.Append(common::Format("\t%s\t ok\n", record.fileName.c_str()));
    programmer_.exchange().Pause(kModuleSettle);
    return true;
}

}  // namespace plc
