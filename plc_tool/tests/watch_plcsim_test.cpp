// quarnctl watch against plcsim with the demonstration symbol file and memory, in real time.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/clock.h"
#include "testsupport/process.h"

namespace {

const std::string kSamples = std::string(SAMPLES_DIR) + "/monitor/";
const std::string kSeparator = std::string(87, '-') + "\n";

struct WatchAgainstPlcsim : ::testing::Test {
    std::string link = testsupport::FreshLinkPath("plc");
    std::unique_ptr<testsupport::BackgroundProcess> plcsim;

    void StartPlc(std::vector<std::string> args = {}) {
        args.insert(args.begin(), {"--link", link, "--verbose", "--memory", kSamples + "demo.mem"});
        plcsim = std::make_unique<testsupport::BackgroundProcess>(PLCSIM_PATH, args, link);
        ASSERT_TRUE(plcsim->running());
    }
    testsupport::RunResult Watch(std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", link, "watch", kSamples + "demo.ot"});
        return testsupport::Run(QUARNCTL_PATH, args);
    }
    // The telegrams plcsim received so far (it stops to report them).
    int TelegramsReceived() {
        plcsim->stop();
        std::istringstream lines(plcsim->output());
        int count = 0;
        for (std::string line; std::getline(lines, line);)
            if (line.rfind("<-", 0) == 0) ++count;
        return count;
    }
};

// The pages of quarnctl watch's output: the text between the status lines and separators.
std::vector<std::string> Pages(const std::string& out, const std::string& head) {
    std::vector<std::string> pages;
    if (out.rfind(head, 0) != 0) return pages;
    size_t at = head.size();
    while (true) {
        size_t next = out.find(kSeparator, at);
        pages.push_back(out.substr(at, next == std::string::npos ? std::string::npos : next - at));
        if (next == std::string::npos) break;
        at = next + kSeparator.size();
    }
    return pages;
}

// The line of a page that holds the text, or "".
std::string LineWith(const std::string& page, const std::string& text) {
    std::istringstream lines(page);
    for (std::string line; std::getline(lines, line);)
        if (line.find(text) != std::string::npos) return line;
    return {};
}

// The line after the one that holds the text.
std::string LineAfter(const std::string& page, const std::string& text) {
    std::istringstream lines(page);
    for (std::string line; std::getline(lines, line);)
        if (line.find(text) != std::string::npos && std::getline(lines, line)) return line;
    return {};
}

const std::string kHead = "Scan SPS SP\nGet SPS directory\nTitle: \nShow variables\n";

}  // namespace

TEST_F(WatchAgainstPlcsim, ThreePagesShowTheCounterChanging) {
    StartPlc();
    auto result = Watch({"--cycles", "3"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "");
    std::vector<std::string> pages = Pages(result.out, kHead);
    ASSERT_EQ(pages.size(), 3u) << result.out;
    // The last page ends with the status line cleared: an empty line.
    ASSERT_GE(pages[2].size(), 2u);
    EXPECT_EQ(pages[2].substr(pages[2].size() - 2), "\n\n");
    pages[2].pop_back();

    EXPECT_EQ(LineWith(pages[0], "Counter").substr(0, 16), "Counter    Blink");
    EXPECT_EQ(LineWith(pages[0], "MW200").substr(0, 17), "MW200      M210.1");
    std::vector<std::string> counterRows;
    for (const std::string& page : pages) {
        EXPECT_EQ(std::count(page.begin(), page.end(), '\n'), 27) << page;
        counterRows.push_back(LineAfter(page, "MW200").substr(0, 10));
    }
    EXPECT_NE(counterRows[0], counterRows[1]);
    EXPECT_NE(counterRows[1], counterRows[2]);
    // Values from the memory file, as the window shows them.
    EXPECT_NE(LineAfter(pages[0], "MD230").find("1234567e2"), std::string::npos) << pages[0];
    EXPECT_NE(LineAfter(pages[0], "T1").find("Quarn OK\xC3\xAD"), std::string::npos) << pages[0];
    EXPECT_NE(LineAfter(pages[0], "[MW100]").find("    1234"), std::string::npos) << pages[0];
    EXPECT_NE(LineAfter(pages[0], "[XW5]").find("[3]"), std::string::npos) << pages[0];
    EXPECT_NE(LineAfter(pages[0], "MB99.1").find("XXXXXXXXX"), std::string::npos) << pages[0];
}

TEST_F(WatchAgainstPlcsim, KeysPageThroughTheListOnePerPage) {
    StartPlc();
    auto result = Watch({"--cycles", "4", "--keys", "pgdn,pgdn,pgup"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    std::vector<std::string> pages = Pages(result.out, kHead);
    ASSERT_EQ(pages.size(), 4u) << result.out;
    // Variable 56 is the 29th input bit: A1.6 (bits of A1 start at variable 50).
    EXPECT_EQ(pages[0].substr(0, 7), "Counter");
    EXPECT_EQ(LineWith(pages[1], "A").substr(0, 4), "A1.7");
    EXPECT_EQ(pages[2], pages[1]);  // Page Down past the end shows the same page again
    EXPECT_EQ(pages[3].substr(0, 7), "Counter");
}

TEST_F(WatchAgainstPlcsim, ACommunicationFaultMidLoopAbortsTheDisplay) {
    StartPlc();
    ASSERT_EQ(Watch({"--cycles", "2"}).exitStatus, 0);
    const int twoPages = TelegramsReceived();
    ASSERT_GT(twoPages, 4);
    // The same run again, with the PLC silent from the second page's read on.
    plcsim.reset();
    link = testsupport::FreshLinkPath("plc");
    StartPlc({"--fault", "silent-after=" + std::to_string(twoPages - 1)});
    auto result = Watch({"--cycles", "5"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "Show variables aborted, please restart\n");
    EXPECT_EQ(Pages(result.out, kHead).size(), 1u) << result.out;
}

TEST_F(WatchAgainstPlcsim, UsageErrorsAndAnUnknownType) {
    EXPECT_EQ(testsupport::Run(QUARNCTL_PATH, {"watch"}).exitStatus, 2);
    EXPECT_EQ(testsupport::Run(QUARNCTL_PATH, {"watch", "x.ot", "--keys", "left"}).exitStatus, 2);
    EXPECT_EQ(testsupport::Run(QUARNCTL_PATH, {"watch", "x.ot", "--cycles", "0"}).exitStatus, 2);

    std::filesystem::path bad = std::filesystem::path(link).parent_path() / "bad.ot";
    {
        std::ofstream out(bad);
        out << "  1 REAL  MD         Volume      100                 1 0100   4\n";
    }
    StartPlc();
    auto result = testsupport::Run(QUARNCTL_PATH, {"--port", link, "watch", bad.string()});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "Typ not found\n");
    EXPECT_EQ(result.out, kHead);
}

TEST_F(WatchAgainstPlcsim, CtrlCClosesTheDisplayAfterItsPage) {
    StartPlc();
    testsupport::BackgroundProcess watch(QUARNCTL_PATH,
                                         {"--port", link, "watch", kSamples + "demo.ot"}, "", true);
    common::RealClock().sleep(common::Millis(2500));
    EXPECT_EQ(watch.stop(SIGINT), 130);
    EXPECT_EQ(watch.errors(), "Stopped by Ctrl-C (SIGINT)\n");  // no abort text: a normal close
    EXPECT_GE(Pages(watch.output(), kHead).size(), 1u) << watch.output();
}
