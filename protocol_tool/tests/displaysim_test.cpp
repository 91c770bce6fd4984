// CProtocolReader and vantorctl against displaysim on a real pseudo-terminal, in real time:
// every retrieval ends by the display's 3 s of silence, so each case takes a few seconds.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <csignal>
#include <cstdlib>

#include "common/recording_frontend.h"
#include "link/termios_device.h"
#include "protocol_tool/core/cyrillic_rtf.h"
#include "protocol_tool/core/protocol_reader.h"
#include "sample_lines.h"
#include "sim/display/testing/displaysim_process.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

using protocol::ProtocolChoice;
using protocol::RetrievalResult;
using Strings = std::vector<std::string>;

namespace {

// A protocol with bare line feeds: two lines before the first entry, three entries.
const std::string kLineFeedProtocol =
    "HEAD\n"
    "\n"
    "Coming     1    12.03.08    06:15:02\nPumpe\nStoerung\n--\n"
    "Going      1    12.03.08    06:47:40\nPumpe\nStoerung\n--\n"
    "Off        0    12.03.08    18:00:00\nNetz aus\n\n--\n";

struct Display : protocol_test::TempFolder {
    common::RealClock clock;
    serial::TermiosDevice device{clock};
    common::RecordingFrontend frontend;
    protocol::CProtocolReader reader{device, frontend};
    std::unique_ptr<simtest::DisplaySimProcess> sim;
    fs::path record;

    // Starts the display holding these files, with extra arguments (faults), and opens the
    // link to it.
    void Start(const std::string& protocolBytes, const std::string& statisticsBytes,
               Strings extra = {}) {
        Write(dir / "held.pro", protocolBytes);
        Write(dir / "held.sta", statisticsBytes);
        record = dir / "record.txt";
        Strings args = {"--protocol",   (dir / "held.pro").string(),
                        "--statistics", (dir / "held.sta").string(),
                        "--record",     record.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        sim = std::make_unique<simtest::DisplaySimProcess>(
            DISPLAYSIM_PATH, simtest::UniqueTempPath("vantor-display"), args);
        ASSERT_TRUE(sim->waitReady());
        ASSERT_TRUE(reader.Link().Open(sim->link()));
    }
    // The commands the display received, one per line.
    std::string Received() {
        reader.Link().Close();
        sim->stop();
        return Read(record);
    }
    RetrievalResult Get(const fs::path& path, int mode, int cnt, bool translate = false) {
        return reader.GetProtocol(path, translate, [mode, cnt](const ProtocolChoice&) {
            return std::optional<ProtocolChoice>(ProtocolChoice{mode, cnt});
        });
    }
};

}  // namespace

TEST_F(Display, FetchesTheWholeProtocolWithCrLfLinesAndTranslatesIt) {
    Start(protocol_test::SampleBytes(), "");
    EXPECT_EQ(Get(dir / "got.pro", protocol::kModeNewEntries, 100, true), RetrievalResult::Done);
    EXPECT_EQ(Read(dir / "got.pro"), protocol_test::SampleBytes());
    EXPECT_EQ(Read(dir / "got.rtf"), protocol::CyrillicRtf(protocol_test::SampleBytes()));
    auto status = frontend.texts("status");
    ASSERT_EQ(status.size(), protocol_test::SampleLines().size() + 2);
    EXPECT_EQ(status.front(), "Get protocol");
    EXPECT_EQ(status[1], "PROTOKOLL TEXTMONITOR TM40");
    EXPECT_EQ(status.back(), "Ready");
    EXPECT_EQ(Received(), "@@/r\n@YA@\n");
}

TEST_F(Display, FetchesTheProtocolUpToANumberWithBareLineFeeds) {
    Start(kLineFeedProtocol, "");
    EXPECT_EQ(Get(dir / "got.pro", protocol::kModeUpTo, 2), RetrievalResult::Done);
    EXPECT_EQ(Read(dir / "got.pro"),
              "HEAD\n\n"
              "Coming     1    12.03.08    06:15:02\nPumpe\nStoerung\n--\n"
              "Going      1    12.03.08    06:47:40\nPumpe\nStoerung\n--\n");
    EXPECT_EQ(Received(), "@@/r\n@Y0002@\n");
}

TEST_F(Display, FetchesTheStatisticsWithBothLineEnds) {
    const std::string statistics =
        "STATISTIK\r\n   1        1   00:32:38\n  17        1   01:09:15\r\n";
    Start("", statistics);
    EXPECT_EQ(reader.GetStatistics(dir / "got.sta"), RetrievalResult::Done);
    EXPECT_EQ(Read(dir / "got.sta"), statistics);
    EXPECT_EQ(frontend.status(), "Ready");
    EXPECT_EQ(Received(), "@@/r\n@yA@\n");
}

TEST_F(Display, ASilentDisplayGivesNoDataAndKeepsTheOldProtocol) {
    Start(protocol_test::SampleBytes(), "", {"--fault", "silent"});
    Write(dir / "old.pro", "earlier protocol\r\n");
    EXPECT_EQ(Get(dir / "old.pro", protocol::kModeUpTo, 5, true), RetrievalResult::NoData);
    EXPECT_EQ(frontend.texts("status"), (Strings{"Get protocol", "No data"}));
    EXPECT_EQ(Read(dir / "old.pro"), "earlier protocol\r\n");
    EXPECT_FALSE(fs::exists(dir / "old.rtf"));
}

TEST_F(Display, APauseInsideALineEndsTheAnswerThere) {
    Start(protocol_test::SampleBytes(), "", {"--fault", "pause-in-line:3"});
    EXPECT_EQ(Get(dir / "got.pro", protocol::kModeNewEntries, 1), RetrievalResult::Done);
    EXPECT_EQ(Read(dir / "got.pro"), "PROTOKOLL TEXTMONITOR TM40\r\nEintraege bis Nr. 0100\r\n");
    EXPECT_EQ(frontend.status(), "Ready");
}

TEST_F(Display, CancellingTheProtocolDialogKeepsTheOldFileAndSendsNothing) {
    Start(protocol_test::SampleBytes(), "");
    Write(dir / "old.pro", "earlier protocol\r\n");
    auto result = reader.GetProtocol(dir / "old.pro", true,
                                     [](const ProtocolChoice&) { return std::nullopt; });
    EXPECT_EQ(result, RetrievalResult::Cancelled);
    EXPECT_EQ(Read(dir / "old.pro"), "earlier protocol\r\n");
    EXPECT_EQ(Received(), "");
}

namespace {
struct ToolRun {
    int exit = -1;
    std::string out;
    std::string err;
};
}  // namespace

// vantorctl end to end: output streams, exit statuses, and the clear commands.
TEST_F(Display, VantorctlFetchesClearsAndSaysNoData) {
    Start(protocol_test::SampleBytes(), "STATISTIK\r\n");
    reader.Link().Close();
    // A clear command has no answer: vantorctl closes the port as soon as the command has
    // left it and puts the line's previous settings back. The simulator judges the line
    // when it reads the bytes, not when they were sent, so the line is left at the
    // display's values between the runs, as on a port that a technician set up that way.
    ASSERT_EQ(std::system(("stty -F " + sim->link() + " 9600 cs8 cstopb -parenb").c_str()), 0);
    auto run = [this](const std::string& args) {
        const fs::path out = dir / "out.txt";
        const fs::path err = dir / "err.txt";
        const std::string command = std::string(VANTORCTL) + " --port " + sim->link() + " " + args +
                                    " >" + out.string() + " 2>" + err.string() + " </dev/null";
        const int status = std::system(command.c_str());
        return ToolRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read(out), Read(err)};
    };
    ToolRun r = run("get-protocol " + (dir / "got.pro").string() + " --up-to 1 --cyrillic");
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 13), "Get protocol\n");
    EXPECT_EQ(r.out.substr(r.out.size() - 6), "Ready\n");
    EXPECT_TRUE(fs::exists(dir / "got.rtf"));

    r = run("clear-protocol");  // no terminal and no --yes: the answer is No
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out, "Clear protocol\n");
    r = run("clear-protocol --yes");
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, "Clear protocol\nReady\n");

    r = run("get-protocol " + (dir / "got.pro").string() + " --new");
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out, "Get protocol\nNo data\n");
    EXPECT_TRUE(fs::exists(dir / "got.pro"));  // the earlier protocol stays, and it is said
    EXPECT_NE(r.err.find("The earlier file " + (dir / "got.pro").string() + " was kept"),
              std::string::npos)
        << r.err;

    r = run("get-protocol " + (dir / "got.pro").string() + " --up-to 10000");
    EXPECT_EQ(r.exit, 2);
    EXPECT_EQ(Received(), "@@/r\n@Y0001@\n@YI@\n@@/r\n@YA@\n");
}

// Ctrl-C in the middle of a long retrieval: the earlier file stays, nothing temporary is left
// beside it, the exit status says the tool was interrupted and the next run works.
TEST_F(Display, CtrlCDuringARetrievalKeepsTheEarlierFile) {
    std::string many;
    for (int i = 0; i < 40; ++i) many += protocol_test::SampleBytes();
    Start(many, "STATISTIK\r\n", {"--realtime"});
    reader.Link().Close();
    const fs::path target = dir / "out" / "got.pro";
    fs::create_directories(target.parent_path());
    Write(target, "earlier protocol\r\n");
    testsupport::BackgroundProcess tool(
        VANTORCTL, {"--port", sim->link(), "get-protocol", target.string(), "--up-to", "1"}, "",
        true);
    clock.sleep(common::Millis(1500));  // the answer takes far longer at 9600 baud
    EXPECT_EQ(tool.stop(SIGINT), 130);
    EXPECT_NE(tool.errors().find("was stopped"), std::string::npos) << tool.errors();
    EXPECT_EQ(Read(target), "earlier protocol\r\n");
    size_t files = 0;
    for (const auto& e : fs::directory_iterator(target.parent_path())) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 1u);
    clock.sleep(common::Millis(300));
    testsupport::RunResult next = testsupport::Run(
        VANTORCTL, {"--port", sim->link(), "get-statistics", (dir / "out" / "s.sta").string()});
    EXPECT_EQ(next.exitStatus, 0) << next.err;
    EXPECT_EQ(Read(dir / "out" / "s.sta"), "STATISTIK\r\n");
}
