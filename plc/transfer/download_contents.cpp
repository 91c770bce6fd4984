#include "plc/transfer/download_contents.h"

#include <algorithm>

#include "common/file_helpers.h"
#include "common/format.h"
#include "common/utf8_path.h"
#include "plc/files/file_problem.h"

namespace plc {

namespace {
// Directory code of a module (header byte 28): its PLC number with one of these, by the
// project line's kind letter ("A": absolute).
constexpr std::uint8_t kAbsoluteCode = 0xC0;
constexpr std::uint8_t kRelativeCode = 0x80;
}  // namespace

std::optional<ConfigurationBlock> ConfigurationToSend(const std::vector<ModuleRecord>& records,
                                                      const std::filesystem::path& folder,
                                                      const ConfigurationBlock& plcBlock,
                                                      common::Frontend& frontend) {
    auto entry = std::find_if(records.begin(), records.end(),
                              [](const ModuleRecord& r) { return r.number == 0; });
    ConfigurationBlock block = plcBlock;
    if (entry == records.end() ||
        ReadConfigurationFile(RecordPath(folder, *entry), block, frontend) != 0) {
        frontend.message("Kein Konfigurationsblock");
        return std::nullopt;
    }
    return block;
}

bool ReadModuleToSend(const std::filesystem::path& folder, const ModuleRecord& record,
                      std::uint8_t plcVariant, ModuleImage& image, common::Frontend& frontend,
                      std::string* why) {
    const std::filesystem::path path = RecordPath(folder, record);
    const int result = ReadModuleFile(path, plcVariant, image);
    if (result == module_file::kOk) return true;
    if (result == module_file::kNameTooLong) {
        frontend.message(common::Format(module_file::kNameTooLongFormat, record.fileName.c_str()));
        return false;
    }
    frontend.message(common::Format("%d %s", result, record.fileName.c_str()));
    if (result == module_file::kCannotOpen && why) {
        const std::optional<std::filesystem::path> found = common::FindFileIgnoringCase(path);
        const std::string reason = WhyCannotRead(found.value_or(path));
        if (!reason.empty())
            *why = common::Format("Cannot read %s: %s", common::Utf8FromPath(path).c_str(),
                                  reason.c_str());
    }
    return false;
}

void CompleteModuleHeader(ModuleHeader& header, char kindLetter, std::uint8_t assignedNumber,
                          std::uint8_t startPage, std::uint16_t codeLength) {
    header[header::kDirectoryCode] = static_cast<std::uint8_t>(
        assignedNumber | (kindLetter == project::kAbsoluteLetter ? kAbsoluteCode : kRelativeCode));
    header[header::kStartPage] = startPage;
    SetHeaderWord(header.data(), header::kLoaderMark, header::kLoaderMarkValue);
    SetHeaderWord(header.data(), header::kCodeLength, codeLength);
}

}  // namespace plc
