// quarnctl stopped by a signal in the middle of a transfer against plcsim: the operation ends
// with its abort text, the exit status tells the signal, the port works for the next run and
// no temporary file is left.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>

#include "common/clock.h"
#include "testsupport/process.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSampleProject = fs::path(SAMPLES_DIR) / "project";

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

struct InterruptedTransfer : ::testing::Test {
    std::string link = testsupport::FreshLinkPath("plc");
    fs::path work = fs::path(link).parent_path();
    fs::path logFile = work / "log.txt";
    std::unique_ptr<testsupport::BackgroundProcess> plcsim;

    void SetUp() override {
        plcsim = std::make_unique<testsupport::BackgroundProcess>(
            PLCSIM_PATH,
            std::vector<std::string>{"--link", link, "--image", (work / "plc.img").string()}, link);
        ASSERT_TRUE(plcsim->running());
    }
    void TearDown() override {
        plcsim.reset();
        std::error_code ec;
        fs::remove_all(work, ec);
    }
    // Runs quarnctl with args and sends it the signal after the given time.
    testsupport::BackgroundProcess* Start(std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", link, "--log", logFile.string(), "--yes"});
        tool = std::make_unique<testsupport::BackgroundProcess>(QUARNCTL_PATH, args, "", true);
        return tool.get();
    }
    static void Wait(int ms) { common::RealClock().sleep(common::Millis(ms)); }
    void ExpectThePortWorks() {
        auto next = testsupport::Run(QUARNCTL_PATH, {"--port", link, "identify"});
        EXPECT_EQ(next.exitStatus, 0) << next.err;
    }
    std::unique_ptr<testsupport::BackgroundProcess> tool;
};

}  // namespace

TEST_F(InterruptedTransfer, SigtermEndsADownloadWithItsAbortText) {
    Start({"download", (kSampleProject / "project.pr").string()});
    Wait(3000);  // the download takes about 12 s; by now modules are being written
    const common::Millis before = common::RealClock().now();
    EXPECT_EQ(tool->stop(SIGTERM), 143);
    EXPECT_LT(common::RealClock().now() - before, common::Millis(2500));
    EXPECT_NE(tool->errors().find("PC->Quarn download aborted, please restart download\n"),
              std::string::npos)
        << tool->errors();
    EXPECT_NE(tool->errors().find("Stopped by SIGTERM\n"), std::string::npos);
    EXPECT_EQ(Read(logFile).find("successfully"), std::string::npos);
    ExpectThePortWorks();
}

TEST_F(InterruptedTransfer, CtrlCEndsAnUploadLeavingNoTemporaryFile) {
    auto download =
        testsupport::Run(QUARNCTL_PATH, {"--port", link, "--log", logFile.string(), "--yes",
                                         "download", (kSampleProject / "project.pr").string()});
    ASSERT_EQ(download.exitStatus, 0) << download.err;
    const fs::path folder = work / "up";
    Start({"upload", folder.string()});
    Wait(2500);  // the upload takes about 7 s
    EXPECT_EQ(tool->stop(SIGINT), 130);
    EXPECT_NE(tool->errors().find("Quarn->PC upload aborted, please restart upload\n"),
              std::string::npos)
        << tool->errors();
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        EXPECT_TRUE(name.ends_with(".ob") || name.ends_with(".kb") || name.ends_with(".pr"))
            << name;
        // Each file is whole: a module's code (its header holds what the download set), the
        // project and configuration files as they were downloaded.
        const size_t from = name.ends_with(".ob") ? 30 : 0;
        EXPECT_EQ(Read(e.path()).substr(from), Read(kSampleProject / name).substr(from)) << name;
    }
    ExpectThePortWorks();
}

TEST_F(InterruptedTransfer, APlcThatVanishesEndsTheDownloadWithItsAbortText) {
    auto run = std::async(std::launch::async, [this] {
        return testsupport::Run(QUARNCTL_PATH,
                                {"--port", link, "--log", logFile.string(), "--yes", "download",
                                 (kSampleProject / "project.pr").string()});
    });
    Wait(3000);
    plcsim.reset();  // the far end of the line closes
    const common::Millis gone = common::RealClock().now();
    const testsupport::RunResult result = run.get();
    // The pause in progress (1.5 s after a module at most) and one read time-out (2 s), not a
    // read loop that spins or waits on.
    EXPECT_LT(common::RealClock().now() - gone, common::Millis(4000));
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("PC->Quarn download aborted, please restart download\n"),
              std::string::npos)
        << result.err;
}
