#include "plc/transfer/verify.h"

#include <algorithm>

#include "common/format.h"
#include "common/utf8_path.h"
#include "plc/files/file_problem.h"
#include "plc/files/local_time.h"
#include "plc/files/project_file.h"
#include "plc/transfer/block_transfer.h"
#include "plc/transfer/download_contents.h"
#include "plc/transfer/module_address.h"
#include "plc/transfer/plc_directory.h"

namespace plc {

namespace {

// Byte by byte over the longer of the two; a byte one side lacks counts as a difference
// (shown as 0 on that side).
ModuleComparison Compare(const std::string& name, std::string_view expected,
                         std::string_view found) {
    ModuleComparison c;
    c.name = name;
    c.expectedLength = expected.size();
    c.foundLength = found.size();
    const size_t length = std::max(expected.size(), found.size());
    for (size_t i = 0; i < length; ++i) {
        const auto e = static_cast<std::uint8_t>(i < expected.size() ? expected[i] : 0);
        const auto f = static_cast<std::uint8_t>(i < found.size() ? found[i] : 0);
        if (e == f && i < expected.size() && i < found.size()) continue;
        ++c.differences;
        if (c.listed.size() < verify::kListedPerModule) c.listed.push_back({i, e, f});
    }
    c.state = c.differences ? ModuleComparison::State::kDifferent : ModuleComparison::State::kSame;
    return c;
}

std::string_view View(const std::uint8_t* bytes, size_t size) {
    return std::string_view(reinterpret_cast<const char*>(bytes), size);
}

}  // namespace

bool VerifyReport::ok() const {
    return std::all_of(comparisons.begin(), comparisons.end(), [](const ModuleComparison& c) {
        return c.state == ModuleComparison::State::kSame;
    });
}

std::vector<std::string> VerifyReport::Lines() const {
    std::vector<std::string> lines;
    for (const ModuleComparison& c : comparisons) {
        const char* name = c.name.c_str();
        switch (c.state) {
            case ModuleComparison::State::kSame:
                break;
            case ModuleComparison::State::kMissing:
                lines.push_back(common::Format("%s: missing in the PLC", name));
                break;
            case ModuleComparison::State::kExtra:
                lines.push_back(common::Format("%s: in the PLC, not in the project", name));
                break;
            case ModuleComparison::State::kDifferent:
                if (c.expectedLength != c.foundLength)
                    lines.push_back(common::Format("%s: %zu bytes expected, %zu found", name,
                                                   c.expectedLength, c.foundLength));
                for (const ByteDifference& d : c.listed)
                    lines.push_back(common::Format("%s: byte %zu expected %02X found %02X", name,
                                                   d.offset, d.expected, d.found));
                if (c.differences > c.listed.size())
                    lines.push_back(common::Format("%s: %zu more differences", name,
                                                   c.differences - c.listed.size()));
                break;
        }
    }
    return lines;
}

PlcReadBack ReadBack(CPlcProgrammer& programmer) {
    ReadPlcDirectory(programmer);
    const PlcState& state = programmer.state();
    PlcReadBack back;
    back.table = state.modules;
    for (const ModuleEntry& entry : back.table) {
        std::string code;
        RequireDone(ReadBlock(programmer, command::kReadSegment,
                              ModuleCodeBlock(entry, state.infoBlock), code, &entry));
        back.codes.push_back(std::move(code));
    }
    if (state.directory[directory::kConfigurationPresent] == 0) return back;
    // The directory read keeps the block as the PLC holds it when the block asks the PLC to
    // take its flags word over; otherwise it puts the PC's flags word in, and the bytes the
    // PLC holds are read again.
    const ConfigurationBlock& read = state.configurationBlock;
    if ((HeaderWord(read.data(), configuration::kFlagsWord) & configuration::kFlagsTakeOver) &&
        ConfigurationSum(read) != 0) {
        back.configuration = read;
        return back;
    }
    std::string bytes;
    RequireDone(ReadBlock(
        programmer, command::kReadSegment,
        BlockDescriptor{configuration::kOffset, static_cast<std::uint16_t>(kConfigurationBlockSize),
                        state.infoBlock.configurationSegment()},
        bytes));
    ConfigurationBlock raw{};
    std::copy_n(bytes.begin(), raw.size(), raw.begin());
    back.configuration = raw;
    return back;
}

std::optional<ExpectedProject> ExpectedFromFiles(const std::filesystem::path& projectFile,
                                                 CPlcProgrammer& programmer, std::string* why) {
    common::Frontend& frontend = programmer.frontend();
    const std::filesystem::path folder = projectFile.parent_path();
    const std::optional<std::vector<ModuleRecord>> records = ReadProjectFile(projectFile);
    if (!records) {
        const std::string reason = WhyCannotRead(projectFile);
        frontend.message(common::Format("Cannot read the project file %s: %s",
                                        common::Utf8FromPath(projectFile).c_str(),
                                        reason.empty() ? "it could not be read" : reason.c_str()));
        return std::nullopt;
    }
    // The read back began with a directory read, so the PLC's state is the one a download
    // would start from.
    const PlcState& state = programmer.state();
    ExpectedProject expected;
    expected.configuration =
        ConfigurationToSend(*records, folder, state.configurationBlock, frontend);
    if (!expected.configuration) return std::nullopt;
    for (const ModuleRecord& record : *records) {
        if (record.number == 0) continue;
        ModuleImage image;
        if (!ReadModuleToSend(folder, record, state.infoBlock.variant(), image, frontend, why))
            return std::nullopt;
        ExpectedModule module;
        module.header = image.header;
        module.code = std::move(image.code);
        // The PLC's number and the start page are the PLC's choice; CompareProject takes
        // them from the PLC.
        CompleteModuleHeader(module.header, record.kindLetter, 0, 0,
                             static_cast<std::uint16_t>(module.code.size()));
        expected.modules.push_back(std::move(module));
    }
    return expected;
}

VerifyReport CompareProject(const ExpectedProject& expected, const PlcReadBack& plc) {
    VerifyReport report;
    std::vector<bool> matched(plc.table.size(), false);
    for (const ExpectedModule& module : expected.modules) {
        const std::string name = HeaderName(module.header.data());
        size_t at = 0;
        while (at < plc.table.size() && (matched[at] || plc.table[at].name() != name)) ++at;
        if (at == plc.table.size()) {
            ModuleComparison missing;
            missing.name = name;
            missing.state = ModuleComparison::State::kMissing;
            report.comparisons.push_back(missing);
            continue;
        }
        matched[at] = true;
        const ModuleEntry& entry = plc.table[at];
        ModuleHeader header = module.header;
        if (!module.placeKnown) {
            // What the PLC chose and the day of the download come from the PLC.
            std::copy_n(entry.bytes.begin() + header::kYear, header::kMinute - header::kYear + 1,
                        header.begin() + header::kYear);
            header[header::kDirectoryCode] = static_cast<std::uint8_t>(
                (header[header::kDirectoryCode] & ~directory::kNumberMask) |
                (entry.bytes[header::kDirectoryCode] & directory::kNumberMask));
            header[header::kStartPage] = entry.bytes[header::kStartPage];
        }
        std::string expectedBytes(View(header.data(), header.size()));
        expectedBytes += module.code;
        std::string foundBytes(View(entry.bytes.data(), header::kSize));
        foundBytes += plc.codes[at];
        report.comparisons.push_back(Compare(name, expectedBytes, foundBytes));
    }
    for (size_t i = 0; i < plc.table.size(); ++i) {
        if (matched[i]) continue;
        ModuleComparison extra;
        extra.name = plc.table[i].name();
        extra.state = ModuleComparison::State::kExtra;
        report.comparisons.push_back(extra);
    }
    if (expected.configuration) {
        if (!plc.configuration) {
            ModuleComparison missing;
            missing.name = verify::kConfigurationName;
            missing.state = ModuleComparison::State::kMissing;
            report.comparisons.push_back(missing);
        } else {
            report.comparisons.push_back(
                Compare(verify::kConfigurationName,
                        View(expected.configuration->data(), kConfigurationBlockSize),
                        View(plc.configuration->data(), kConfigurationBlockSize)));
        }
    }
    return report;
}

}  // namespace plc
