// The variable display fed with an arbitrary symbol file and arbitrary PLC answers: the
// symbol file parser, every type's operand and value texts, the cell walk, the read plan
// within the receive buffer, paging in every direction, and the page reads.
#include "monitor/variable_display.h"
#include "plc/quarn_exception.h"
#include "plc_fixture.h"

namespace {

// Pages with the keys the input chooses, and closes after a few cycles.
class FuzzedViewer final : public monitor::VariableViewer {
  public:
    explicit FuzzedViewer(FuzzedDataProvider& input) : input_(input) {}
    void Pump(monitor::VariableDisplay& display) override {
        if (input_.remaining_bytes() > 0 && input_.ConsumeBool())
            display.PressKey(static_cast<monitor::PagingKey>(input_.ConsumeIntegralInRange(0, 3)));
    }
    void Redraw(const monitor::DisplayPage&, monitor::VariableDisplay& display) override {
        if (++cycles_ >= 6) display.Close();
    }

  private:
    FuzzedDataProvider& input_;
    int cycles_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static fuzz::ScratchFolder scratch;
    FuzzedDataProvider input(data, size);
    const auto symbols = scratch.write("symbols.ot", input.ConsumeRandomLengthString(8000));
    fuzz::FuzzedPlc plc(input);
    FuzzedViewer viewer(input);
    monitor::VariableDisplay display(plc.programmer);
    display.SetStartIndex(input.ConsumeIntegralInRange(0, 300));
    try {
        display.RunVariableDisplay(symbols, viewer);
    } catch (const plc::CQuarnException&) {
    }
    return 0;
}
