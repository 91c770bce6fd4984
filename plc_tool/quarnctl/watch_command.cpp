#include "plc_tool/quarnctl/watch_command.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>

#include "cli/terminal.h"
#include "link/stop_signals.h"
#include "monitor/page_text.h"
#include "plc_tool/core/show_variables.h"

namespace quarnctl {

namespace {

struct WatchOptions {
    std::string symbolFile;
    int cycles = 0;  // 0: until interrupted
    int top = 0;
    std::deque<monitor::PagingKey> keys;
};

// Prints every page, presses one scripted key per cycle and closes after the pages asked
// for, or when the technician interrupts.
class PrintingViewer final : public monitor::VariableViewer {
  public:
    explicit PrintingViewer(WatchOptions& options) : options_(options) {}

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
        ++printed_;
        pumpsThisCycle_ = 0;
    }

  private:
    WatchOptions& options_;
    int printed_ = 0;
    int pumpsThisCycle_ = 0;
};

}  // namespace

int WatchCommand(Context& context, const CommandArguments& args) {
    WatchOptions options{args.path, args.cycles, args.top, {args.keys.begin(), args.keys.end()}};
    if (!context.Connect()) return cli::kExitFailed;
    // An interrupt closes the display after the page being read, as closing the window does:
    // the page's reads go on.
    context.session().link().FollowStopRequests(false);
    PrintingViewer viewer(options);
    return ExitStatus(
        quarnwin::RunShowVariables(context.session(), options.symbolFile, viewer, options.top));
}

}  // namespace quarnctl
