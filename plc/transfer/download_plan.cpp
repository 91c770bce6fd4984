#include "plc/transfer/download_plan.h"

#include <algorithm>

#include "common/format.h"
#include "plc/frame.h"
#include "plc/transfer/block_transfer.h"
#include "plc/transfer/download.h"
#include "plc/transfer/plc_directory.h"

namespace plc {

namespace {

using timing::Exchange;
using timing::TelegramBytes;

// Request frames on the wire: LE + 6 bytes.
constexpr size_t kShortCommandBytes = 12;   // 0x20, 0x27: two data bytes
constexpr size_t kModuleCommandBytes = 13;  // 0x42, 0x07: three data bytes
constexpr size_t kIdentifyBytes = 46;
constexpr size_t kInfoRequestBytes = 10;
constexpr size_t kHeaderRequestBytes = 14;
constexpr size_t kMemoryReadBytes = 13;   // 0x01: address, count
constexpr size_t kSegmentReadBytes = 15;  // 0x02: offset, segment, count
constexpr size_t kIdentifyAnswerData = 8;
constexpr size_t kHeaderAnswerData = 37;
constexpr size_t kReservationAnswerData = 9;
constexpr size_t kConfigurationWriteHead = 3;  // address, count
constexpr size_t kSegmentWriteHead = 5;        // offset, segment, count

void AddReads(std::vector<Exchange>& out, std::uint8_t code, size_t length) {
    const bool segment = code == command::kReadSegment;
    for (size_t done = 0; done < length;) {
        const size_t chunk = std::min(transfer::kReadChunk, length - done);
        out.push_back(
            {code, segment ? kSegmentReadBytes : kMemoryReadBytes,
             TelegramBytes((segment ? transfer::kSegmentAnswerHead : transfer::kMemoryAnswerHead) +
                           chunk)});
        done += chunk;
    }
}

void AddWrites(std::vector<Exchange>& out, std::uint8_t code, size_t length) {
    const bool configuration = code == command::kWriteConfiguration;
    const size_t most =
        configuration ? transfer::kConfigurationWriteChunk : transfer::kSegmentWriteChunk;
    for (size_t done = 0; done < length;) {
        const size_t chunk = std::min(most, length - done);
        out.push_back(
            {code,
             TelegramBytes((configuration ? kConfigurationWriteHead : kSegmentWriteHead) + chunk),
             timing::kAckBytes});
        done += chunk;
    }
}

void AddAcknowledged(std::vector<Exchange>& out, std::uint8_t code, size_t bytes) {
    out.push_back({code, bytes, timing::kAckBytes});
}

}  // namespace

std::uint8_t RequestedNumber(const ModuleRecord& record, const std::string& name,
                             const ModuleTable& table, bool& deleteFirst) {
    deleteFirst = false;
    auto found = std::find_if(table.begin(), table.end(),
                              [&](const ModuleEntry& e) { return e.name() == name; });
    const auto listNumber = static_cast<std::uint8_t>(record.number & 0xFF);
    if (found == table.end()) return listNumber;
    if (record.number != 0 && record.number != found->number()) {
        deleteFirst = true;
        return listNumber;
    }
    if (listNumber == 0) return found->number();
    return listNumber;
}

std::vector<Exchange> DirectoryReadExchanges(const PlcState& state, bool identifiedBefore) {
    std::vector<Exchange> out;
    if (!identifiedBefore)
        out.push_back({command::kIdentify, kIdentifyBytes, TelegramBytes(kIdentifyAnswerData)});
    if (state.firmwareMajor >= 2)
        out.push_back(
            {command::kReadInfoBlock, kInfoRequestBytes, TelegramBytes(InfoBlock::kSize)});
    AddReads(out, command::kReadMemory, kDirectorySize);
    for (size_t i = 0; i < state.modules.size(); ++i)
        out.push_back(
            {command::kReadModuleHeader, kHeaderRequestBytes, TelegramBytes(kHeaderAnswerData)});
    if (state.directory[directory::kConfigurationPresent] != 0)
        AddReads(out, command::kReadSegment, kConfigurationBlockSize);
    return out;
}

DownloadPlan MakeDownloadPlan(const PlcState& state, bool identifiedBefore,
                              const std::vector<ModuleRecord>& records,
                              const std::vector<const ModuleImage*>& modules,
                              const ConfigurationBlock& work, bool configurationAllowed) {
    DownloadPlan plan;
    plan.exchanges = DirectoryReadExchanges(state, identifiedBefore);
    std::vector<Exchange>& out = plan.exchanges;
    plan.oldTitle = state.titleText;
    plan.newTitle = ConfigurationTitle(work);

    AddAcknowledged(out, command::kSetFlags, kShortCommandBytes);
    for (const ModuleEntry& entry : state.modules) {
        const std::uint16_t length = entry.codeLength();
        plan.deletions.push_back({entry.number(), entry.name(), entry.kind(),
                                  static_cast<std::uint16_t>(length >= module_file::kSumSize
                                                                 ? length - module_file::kSumSize
                                                                 : 0)});
        AddAcknowledged(out, command::kDeleteModule, kModuleCommandBytes);
    }
    auto next = modules.begin();
    for (const ModuleRecord& record : records) {
        if (record.number == 0) {
            if (!configurationAllowed) {
                plan.configurationNeedsMaster = true;
                continue;
            }
            plan.configurationReplaced = true;
            AddAcknowledged(out, command::kSetFlags, kShortCommandBytes);
            for (const download::ConfigurationPart& part : download::kConfigurationParts)
                AddWrites(out, command::kWriteConfiguration, part.length);
            continue;
        }
        const ModuleImage& image = **next++;
        const std::string name = HeaderName(image.header.data());
        bool deleteFirst = false;
        const std::uint8_t number = RequestedNumber(record, name, state.modules, deleteFirst);
        if (deleteFirst) AddAcknowledged(out, command::kDeleteModule, kModuleCommandBytes);
        out.push_back(
            {command::kReserveModule, kModuleCommandBytes, TelegramBytes(kReservationAnswerData)});
        AddWrites(out, command::kWriteSegmentProgress, image.code.size());
        AddWrites(out, command::kWriteSegment, header::kSize);
        plan.writes.push_back({record.fileName, name, number, image.header[header::kKind],
                               static_cast<std::uint16_t>(image.code.size())});
    }
    AddAcknowledged(out, command::kStart, kShortCommandBytes);
    return plan;
}

std::string FormatDownloadPlan(const DownloadPlan& plan, int baud) {
    std::string text = common::Format("Modules deleted: %zu\n", plan.deletions.size());
    for (const PlannedDeletion& d : plan.deletions)
        text += common::Format("  %2d  %-8s  kind %-3d  %6u bytes\n", d.number, d.name.c_str(),
                               d.kind, static_cast<unsigned>(d.size));
    if (plan.configurationNeedsMaster)
        text += "Configuration block: kept (ERROR_FW_VERSION,MASTER)\n";
    else if (plan.configurationReplaced)
        text +=
            common::Format("Configuration block: replaced (asks first), title \"%s\" -> \"%s\"\n",
                           plan.oldTitle.c_str(), plan.newTitle.c_str());
    else
        text += "Configuration block: kept\n";
    text += common::Format("Modules written: %zu\n", plan.writes.size());
    for (const PlannedWrite& w : plan.writes) {
        const std::string number = w.number ? common::Format("%2d", w.number) : " ?";
        text +=
            common::Format("  %-12s  %-8s  number %s  kind %-3d  %6u bytes\n", w.fileName.c_str(),
                           w.name.c_str(), number.c_str(), w.kind, static_cast<unsigned>(w.size));
    }
    const timing::TimeFloor time = timing::FloorOf(plan.exchanges, baud);
    text += common::Format(
        "Time: %.1f s at %d baud (%d telegrams, %.1f s of the protocol's waits, %zu characters "
        "on the line)\n",
        time.serial.count(), baud, time.exchanges, time.waits.count(), time.characters);
    return text;
}

}  // namespace plc
