#include "plc_tool/quarnctl/watch_command.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>

#include "cli/terminal.h"
#include "common/utf8_path.h"
#include "link/stop_signals.h"
#include "monitor/page_text.h"
#include "plc_tool/core/show_variables.h"
#include "plc_tool/core/watch_csv.h"

namespace quarnctl {

namespace {

struct WatchOptions {
    std::string symbolFile;
    int cycles = 0;  // 0: until interrupted
    int top = 0;
    std::deque<monitor::PagingKey> keys;
    std::string csvFile;
};

// Prints every page, presses one scripted key per cycle and closes after the pages asked
// for, or when the technician interrupts.
class PrintingViewer final : public monitor::VariableViewer {
  public:
    PrintingViewer(WatchOptions& options, quarnwin::WatchCsv* csv) : options_(options), csv_(csv) {}

    void Pump(monitor::VariableDisplay& display) override {
        if (pumpsThisCycle_++ == 0 && !options_.keys.empty()) {
            display.PressKey(options_.keys.front());
            options_.keys.pop_front();
        }
        const bool lastPage = options_.cycles > 0 && printed_ + 1 >= options_.cycles;
        if (lastPage || serial::StopRequested()) display.Close();
    }

    void Redraw(const monitor::DisplayPage& page, monitor::VariableDisplay&) override {
        if (printed_ > 0) std::fputs(monitor::PageSeparatorLine().c_str(), stdout);
        const std::string text = monitor::PageAsText(page);  // values from the PLC
        std::fputs((cli::IsTerminal(stdout) ? cli::EscapeControlBytes(text) : text).c_str(),
                   stdout);
        std::fflush(stdout);
        if (csv_ && !csv_->WriteRow(page, std::chrono::system_clock::now())) {
            std::fprintf(stderr, "quarnctl watch: cannot write the CSV file %s\n",
                         options_.csvFile.c_str());
            csv_ = nullptr;
        }
        ++printed_;
        pumpsThisCycle_ = 0;
    }

  private:
    WatchOptions& options_;
    quarnwin::WatchCsv* csv_;
    int printed_ = 0;
    int pumpsThisCycle_ = 0;
};

}  // namespace

int WatchCommand(Context& context, const CommandArguments& args) {
    WatchOptions options{
        args.path, args.cycles, args.top, {args.keys.begin(), args.keys.end()}, args.csvFile};
    quarnwin::WatchCsv csv;
    if (!options.csvFile.empty() && !csv.Open(common::PathFromUtf8(options.csvFile))) {
        std::fprintf(stderr, "quarnctl watch: cannot open the CSV file %s for appending\n",
                     options.csvFile.c_str());
        return cli::kExitFailed;
    }
    if (!context.Connect()) return cli::kExitFailed;
    // An interrupt closes the display after the page being read, as closing the window does:
    // the page's reads go on.
    context.session().link().FollowStopRequests(false);
    PrintingViewer viewer(options, options.csvFile.empty() ? nullptr : &csv);
    return ExitStatus(quarnwin::RunShowVariables(
        context.session(), common::PathFromUtf8(options.symbolFile), viewer, options.top));
}

}  // namespace quarnctl
