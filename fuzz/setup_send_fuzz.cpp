// The whole setup transfer with an arbitrary setup file, an arbitrary text file beside it
// and arbitrary acknowledgements from the display: the 1315-byte record's fields, every
// command form, the text pages and the checksummed answers.
#include "common/recording_frontend.h"
#include "fuzz_support.h"
#include "setup_tool/core/setup_sender.h"
#include "setup_tool/core/text_pages.h"

namespace {

// Confirms the clock once with the values it was opened with.
struct ConfirmingTimeDate final : setup::TimeDateDialog {
    std::optional<setup::ClockEntry> show(const setup::ClockEntry& prefilled) override {
        return prefilled;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static fuzz::ScratchFolder scratch;
    FuzzedDataProvider input(data, size);
    const auto setupFile = scratch.write("page.set", input.ConsumeRandomLengthString(1400));
    scratch.write(setup::TextFilePathFor(setupFile).filename().string(),
                  input.ConsumeRandomLengthString(6000));

    common::FakeClock clock;
    serial::ScriptedDevice device(clock);
    fuzz::AnswerFromInput(device, input);
    common::RecordingFrontend frontend;
    ConfirmingTimeDate timeDate;
    setup::CSetupSender sender(device, frontend, timeDate, [] { return setup::LocalTime{}; });
    sender.OpenPort("ttyUSB0");
    (void)sender.SendSetup(setupFile);
    return 0;
}
