// The transfers fed with arbitrary PLC answers: block reads (0x0D lists included), the
// directory walk with its page map, module table and configuration block, the upload into a
// folder and the download of the sample project. Whatever the PLC sends, the program must
// end with a result or a communication failure, and never read or write out of bounds.
#include <vector>

#include "plc/quarn_exception.h"
#include "plc/transfer/block_transfer.h"
#include "plc/transfer/download.h"
#include "plc/transfer/plc_directory.h"
#include "plc/transfer/upload.h"
#include "plc_fixture.h"

namespace {

std::tm FixedTime() {
    std::tm time{};
    time.tm_year = 126;
    time.tm_mday = 1;
    return time;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static fuzz::ScratchFolder scratch;
    scratch.clear();
    FuzzedDataProvider input(data, size);
    const int operation = input.ConsumeIntegralInRange(0, 2);
    fuzz::FuzzedPlc plc(input);
    for (int i = 0; i < 4; ++i) plc.frontend.answer(true);
    const plc::TransferLog log(scratch.path() / "log.txt");
    try {
        if (operation == 0) {
            std::vector<plc::ListItem> list;
            for (std::uint16_t at = 0; at < 12; ++at)
                list.push_back(plc::ListItem{static_cast<std::uint16_t>(0x100 + at * 7),
                                             static_cast<std::uint16_t>(1 + at % 5)});
            std::string bytes;
            plc::ReadBlock(plc.programmer, 0x0D, list, bytes);
        } else if (operation == 1) {
            plc::ReadPlcDirectory(plc.programmer);
            plc::Upload(plc.programmer, log, FixedTime).Run(scratch.path());
        } else {
            plc::Download(plc.programmer, log, FixedTime)
                .Run(std::filesystem::path(SAMPLES_DIR) / "project" / "project.pr");
        }
    } catch (const plc::CQuarnException&) {
    }
    return 0;
}
