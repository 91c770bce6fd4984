#include "plc/transfer/plc_directory.h"

#include <algorithm>

#include "plc/files/configuration_file.h"
#include "plc/transfer/block_transfer.h"

namespace plc {

bool IsSystemPage(size_t page, std::uint16_t pageSize) {
    // Kept as a byte, as the PLC's own loader computes it.
    const auto limit =
        static_cast<std::uint8_t>(pageSize == 0 ? 0 : directory::kSystemPagesSpan / pageSize - 1);
    return page <= static_cast<size_t>(limit) + 1 || page == directory::kSecondHalf ||
           page == static_cast<size_t>(limit) + directory::kSecondHalf;
}

std::vector<std::uint8_t> WalkPageMap(const std::uint8_t* pageMap, std::uint16_t pageSize) {
    std::vector<std::uint8_t> numbers;
    int last = -1;
    for (size_t page = 0; page < directory::kPageMapSize; ++page) {
        const std::uint8_t b = pageMap[page];
        if ((b & directory::kEndMask) == 0) break;
        if (IsSystemPage(page, pageSize)) continue;
        const std::uint8_t kind = b & directory::kKindMask;
        const std::uint8_t number = b & directory::kNumberMask;
        if (kind == directory::kKindSystem || kind == 0 || number == 0 || number == last) continue;
        // A map naming more modules than the table holds: the rest is ignored.
        if (numbers.size() == kMaxModules) break;
        numbers.push_back(number);
        last = number;
    }
    return numbers;
}

namespace {

void IdentifyOnce(CPlcProgrammer& programmer) {
    if (programmer.state().identified) return;
    IdentifyAnswer answer;
    for (int attempt = 0; attempt < directory::kIdentifyAttempts; ++attempt)
        if (programmer.Identify(answer) == 0) break;
}

void ReadConfiguration(CPlcProgrammer& programmer) {
    PlcState& state = programmer.state();
    ConfigurationBlock& block = state.configurationBlock;
    std::string bytes;
    RequireDone(
        ReadBlock(programmer, command::kReadSegment,
                  BlockDescriptor{configuration::kOffset, static_cast<std::uint16_t>(block.size()),
                                  state.infoBlock.configurationSegment()},
                  bytes));
    std::copy_n(bytes.begin(), block.size(), block.begin());
    // The title is the PLC's even when the block then counts as none: a block whose bytes
    // add up to 0 is cleared as if the directory had said there was none.
    state.titleText = ConfigurationTitle(block);
    if (ConfigurationSum(block) == 0) block.fill(0);
    const std::uint16_t flags = HeaderWord(block.data(), configuration::kFlagsWord);
    if (flags & configuration::kFlagsTakeOver) {
        // The block asks the PLC to take its flags over; the block keeps the mark.
        state.flagsWord = flags & static_cast<std::uint16_t>(~configuration::kFlagsTakeOver);
    } else {
        SetHeaderWord(block.data(), configuration::kFlagsWord, state.flagsWord);
    }
}

}  // namespace

void ReadPlcDirectory(CPlcProgrammer& programmer) {
    PlcState& state = programmer.state();
    programmer.frontend().setStatus("Get SPS directory");
    state.directory.fill(0);
    state.modules.clear();

    IdentifyOnce(programmer);
    if (programmer.FirmwareAtLeast(2, 0)) programmer.ReadInfoBlock();

    std::string bytes;
    RequireDone(ReadBlock(programmer, command::kReadMemory,
                          BlockDescriptor{state.infoBlock.directoryAddress(),
                                          static_cast<std::uint16_t>(state.directory.size()), 0},
                          bytes));
    std::copy_n(bytes.begin(), state.directory.size(), state.directory.begin());

    for (std::uint8_t number : WalkPageMap(state.directory.data(), state.infoBlock.pageSize())) {
        ModuleEntry entry;
        entry.bytes[entry::kNumber] = number;
        state.modules.push_back(entry);
    }
    if (!state.modules.empty()) {
        programmer.ReadModuleHeaders(state.modules.size());
        std::stable_sort(
            state.modules.begin(), state.modules.end(),
            [](const ModuleEntry& a, const ModuleEntry& b) { return a.number() < b.number(); });
    }

    if (state.directory[directory::kConfigurationPresent] != 0) {
        ReadConfiguration(programmer);
    } else {
        state.configurationBlock.fill(0);
        state.titleText.clear();
        SetHeaderWord(state.configurationBlock.data(), configuration::kFlagsWord, state.flagsWord);
    }
    programmer.frontend().setTitle(state.titleText);
    state.identified = true;
}

}  // namespace plc
