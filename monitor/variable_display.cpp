#include "monitor/variable_display.h"

#include "monitor/symbol_file.h"
#include "plc/transfer/block_transfer.h"
#include "plc/transfer/plc_directory.h"

namespace monitor {

namespace {
// Clears the running flag however the loop is left.
class RunningFlag {
  public:
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningFlag() { flag_ = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

  private:
    bool& flag_;
};
}  // namespace

std::string VariablesWindowTitle(const std::string& symbolFilePath) {
    return symbolFilePath + kNavigationHint;
}

PlcReadSettings VariableDisplay::ReadSettings() const {
    // Taken from the information block as the directory read left it, so the segment words
    // are the PLC's own from the first display on.
    const plc::InfoBlock& info = programmer_.state().infoBlock;
    return {info.readGeneration(), info.indmwSegment(), info.indxwSegment()};
}

DisplayOutcome VariableDisplay::RunVariableDisplay(const std::filesystem::path& symbolFile,
                                                   VariableViewer& viewer) {
    common::Frontend& frontend = programmer_.frontend();
    variables_.clear();
    page_.clear();
    plc::ReadPlcDirectory(programmer_);
    frontend.setStatus(kShowVariablesStatus);
    position_.Reset(startIndex_);
    SymbolFileResult loaded = LoadSymbolFile(symbolFile, variables_, frontend);
    if (loaded.status == SymbolFileResult::Status::kTypeNotFound)
        return DisplayOutcome::kTypeNotFound;

    RunningFlag running(running_);
    while (running_) {
        BuildPage();
        for (int pump = 0; pump < kPumpsPerCycle; ++pump) {
            programmer_.clock().sleep(kPumpPause);
            viewer.Pump(*this);
        }
        viewer.Redraw(page_, *this);
    }
    frontend.setStatus("");
    return DisplayOutcome::kClosed;
}

void VariableDisplay::BuildPage() {
    position_.StepBackPastEnd(variables_);
    // An index that still holds no variable (an empty list, or two forward keys past the
    // end in one cycle) gives an empty page.
    const auto top = static_cast<size_t>(position_.TopIndex());
    PageReadPlan plan = BuildReadList(variables_, top, ReadSettings());
    position_.SetCut(plan.cutShort ? std::optional<size_t>(plan.end) : std::nullopt);
    PageCells cells = WalkCells(variables_, plan.first, plan.end);
    DisplayPage working;
    FormatPageTexts(variables_, cells, working);
    ReadAndFormatValues(plan, cells, working);
}

void VariableDisplay::ReadAndFormatValues(const PageReadPlan& plan, const PageCells& cells,
                                          DisplayPage& working) {
    receiveBuffer_.clear();
    // A page whose variables bring no bytes is not read (a zero-length first record alone
    // does not keep the rest of the page from being read).
    if (plan.totalBytes() > 0) {
        std::vector<plc::ListItem> readList = plan.readList;
        plc::RequireDone(plc::ReadBlock(programmer_, plan.command, readList, receiveBuffer_));
    }
    FormatValueTexts(variables_, cells, plan, receiveBuffer_,
                     programmer_.state().infoBlock.readGeneration(), working);
    page_ = std::move(working);
}

}  // namespace monitor
