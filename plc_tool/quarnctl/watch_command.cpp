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

std::optional<int> ParseCount(const std::string& text, int least) {
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < least || value > 1000000) return std::nullopt;
    return static_cast<int>(value);
}

bool ParseKeys(const std::string& text, std::deque<monitor::PagingKey>& keys) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        std::optional<monitor::PagingKey> key =
            monitor::ParsePagingKey(std::string_view(text).substr(start, comma - start));
        if (!key) return false;
        keys.push_back(*key);
        start = comma + 1;
    }
    return true;
}

bool ParseWatchArgs(const std::vector<std::string>& args, WatchOptions& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--cycles" && hasValue) {
            std::optional<int> n = ParseCount(args[++i], 1);
            if (!n) {
                std::fprintf(stderr, "quarnctl watch: --cycles takes a number of pages from 1\n");
                return false;
            }
            options.cycles = *n;
        } else if (arg == "--top" && hasValue) {
            std::optional<int> n = ParseCount(args[++i], 0);
            if (!n) {
                std::fprintf(stderr, "quarnctl watch: --top takes a variable index from 0\n");
                return false;
            }
            options.top = *n;
        } else if (arg == "--keys" && hasValue) {
            if (!ParseKeys(args[++i], options.keys)) {
                std::fprintf(stderr,
                             "quarnctl watch: --keys takes up, down, pgup and pgdn, separated "
                             "by commas\n");
                return false;
            }
        } else if (arg.rfind("--", 0) != 0 && options.symbolFile.empty()) {
            options.symbolFile = arg;
        } else {
            std::fprintf(stderr, "quarnctl watch: unexpected argument '%s'\n", arg.c_str());
            return false;
        }
    }
    if (options.symbolFile.empty()) {
        std::fprintf(stderr, "quarnctl watch: which symbol file (.ot)?\n");
        return false;
    }
    return true;
}

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

int WatchCommand(Context& context, const std::vector<std::string>& args) {
    WatchOptions options;
    if (!ParseWatchArgs(args, options)) return cli::kExitUsage;
    if (!context.Connect()) return cli::kExitFailed;
    // An interrupt closes the display after the page being read, as closing the window does:
    // the page's reads go on.
    context.session().link().FollowStopRequests(false);
    PrintingViewer viewer(options);
    return ExitStatus(
        quarnwin::RunShowVariables(context.session(), options.symbolFile, viewer, options.top));
}

}  // namespace quarnctl
