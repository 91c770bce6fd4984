// quarnctl reaching plcsim through a real serial device server (ser2net on loopback, in
// front of plcsim's pseudo-terminal) and through plcsim's own --listen: the same files and
// the same PLC memory as over a local port, and every way the network lets a run down.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>

#include "common/clock.h"
#include "testsupport/process.h"
#include "testsupport/ser2net_server.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSampleProject = fs::path(SAMPLES_DIR) / "project";
const std::string kSamples = std::string(SAMPLES_DIR) + "/monitor/";
constexpr const char* kAbortText = "PC->Quarn download aborted, please restart download";

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return in ? out.str() : "<missing>";
}

// The PLC image without the live values plcsim keeps changing (0x0200 to 0x0223).
std::string ProgramMemory(const fs::path& image) {
    std::string bytes = Read(image);
    if (bytes.size() > 0x240) bytes.replace(0x200, 0x40, std::string(0x40, '\0'));
    return bytes;
}

// A copy of the sample whose access times (which date the module headers) are fixed and
// later than the contents, so reading the files does not move them.
fs::path CopySample(const fs::path& to) {
    fs::create_directories(to);
    const timespec times[2] = {{2'000'000'000, 0}, {UTIME_OMIT, 0}};
    for (const auto& e : fs::directory_iterator(kSampleProject)) {
        fs::copy_file(e.path(), to / e.path().filename(), fs::copy_options::overwrite_existing);
        ::utimensat(AT_FDCWD, (to / e.path().filename()).c_str(), times, 0);
    }
    return to / "project.pr";
}

struct NetworkPort : ::testing::Test {
    fs::path work = fs::path(testsupport::FreshLinkPath("net")).parent_path();
    common::RealClock clock;

    std::unique_ptr<testsupport::BackgroundProcess> Plc(const std::string& name,
                                                        std::vector<std::string> args = {}) {
        const std::string link = (work / name).string();
        args.insert(args.begin(), {"--link", link, "--image", (work / (name + ".img")).string()});
        auto plc = std::make_unique<testsupport::BackgroundProcess>(PLCSIM_PATH, args, link);
        EXPECT_TRUE(plc->running());
        return plc;
    }
    // plcsim serving on the network itself; the URL it serves.
    std::string ListeningPlc(std::unique_ptr<testsupport::BackgroundProcess>& plc,
                             const std::string& scheme, std::vector<std::string> args = {}) {
        const std::string url =
            scheme + "://127.0.0.1:" + std::to_string(testsupport::FreeTcpPort());
        args.insert(args.begin(), {"--listen", url});
        plc = std::make_unique<testsupport::BackgroundProcess>(PLCSIM_PATH, args);
        const common::Millis end = clock.now() + common::Millis(5000);
        while (!testsupport::IsListening(std::stoi(url.substr(url.rfind(':') + 1))) &&
               clock.now() < end)
            clock.sleep(common::Millis(20));
        return url;
    }
    testsupport::RunResult Quarnctl(const std::string& port, std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", port, "--log", (work / "log.txt").string()});
        return testsupport::Run(QUARNCTL_PATH, args);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(work, ec);
    }
};

}  // namespace

TEST_F(NetworkPort, TheSampleTravelsThroughSer2netAsOverALocalPort) {
    const fs::path project = CopySample(work / "project");
    const fs::path localProject = CopySample(work / "local-project");
    auto remote = Plc("remote");
    auto local = Plc("local");
    testsupport::Ser2net server({{(work / "remote").string()}});
    ASSERT_TRUE(server.running()) << server.errors();

    // The same download over a local port at the same time, for the memory to compare with.
    auto localDownload = std::async(std::launch::async, [&] {
        return Quarnctl((work / "local").string(), {"--yes", "download", localProject.string()});
    });
    auto download = Quarnctl(server.url(), {"--yes", "download", project.string()});
    EXPECT_EQ(download.exitStatus, 0) << download.err;
    EXPECT_NE(download.out.find("All Modules successfully downloaded\n"), std::string::npos);
    EXPECT_EQ(localDownload.get().exitStatus, 0);

    auto verify = Quarnctl(server.url(), {"verify", project.string()});
    EXPECT_EQ(verify.exitStatus, 0) << verify.out << verify.err;

    const fs::path folder = work / "up" / "project";
    auto upload = Quarnctl(server.url(), {"upload", folder.string()});
    EXPECT_EQ(upload.exitStatus, 0) << upload.err;
    for (const char* name : {"project.pr", "project.kb"})
        EXPECT_EQ(Read(folder / name), Read(kSampleProject / name)) << name;
    EXPECT_EQ(Read(folder / "PUMPCTRL.ob").substr(30),
              Read(kSampleProject / "PUMPCTRL.ob").substr(30));

    auto watch = Quarnctl(server.url(), {"watch", kSamples + "demo.ot", "--cycles", "1"});
    EXPECT_EQ(watch.exitStatus, 0) << watch.err;
    EXPECT_NE(watch.out.find("MW200"), std::string::npos) << watch.out;

    server.stop();
    remote->stop();
    local->stop();
    EXPECT_EQ(ProgramMemory(work / "remote.img"), ProgramMemory(work / "local.img"));
}

TEST_F(NetworkPort, EveryWayToTheNetworkReachesThePlc) {
    auto behindServer = Plc("plc");
    testsupport::Ser2net server(
        {{(work / "plc").string()}, {(work / "plc").string(), "9600e81", /*rfc2217=*/false}});
    ASSERT_TRUE(server.running()) << server.errors();
    std::unique_ptr<testsupport::BackgroundProcess> telnetPlc, rawPlc;
    const std::vector<std::string> ports = {server.url(0), server.url(1),
                                            ListeningPlc(telnetPlc, "rfc2217"),
                                            ListeningPlc(rawPlc, "socket")};
    for (const std::string& port : ports) {
        auto identify = Quarnctl(port, {"--baud", "9600", "identify"});
        EXPECT_EQ(identify.exitStatus, 0) << port << ": " << identify.err;
        EXPECT_NE(identify.out.find("Station address: 64"), std::string::npos) << port;
    }
    // --trace shows the option negotiation, marked, before the first telegram.
    auto traced = Quarnctl(server.url(0), {"--trace", "identify"});
    EXPECT_EQ(traced.exitStatus, 0);
    const size_t negotiation = traced.err.find("> negotiation FF FB 00");
    EXPECT_NE(negotiation, std::string::npos) << traced.err;
    EXPECT_NE(traced.err.find("< negotiation FF"), std::string::npos) << traced.err;
    EXPECT_LT(negotiation, traced.err.find("> 68 "));
}

TEST_F(NetworkPort, ABusyPortARefusedConnectionAndARefusedSettingEachSayWhich) {
    auto plc = Plc("plc", {"--memory", kSamples + "demo.mem"});
    testsupport::Ser2net server({{(work / "plc").string()}});
    ASSERT_TRUE(server.running()) << server.errors();
    testsupport::BackgroundProcess holder(
        QUARNCTL_PATH, {"--port", server.url(), "--station", "64", "watch", kSamples + "demo.ot"},
        "", true);
    clock.sleep(common::Millis(1500));  // the watch has connected and reads pages
    auto busy = Quarnctl(server.url(), {"identify"});
    EXPECT_EQ(busy.exitStatus, 1);
    EXPECT_NE(busy.err.find("in use"), std::string::npos) << busy.err;
    holder.stop(SIGINT);

    const std::string nobody = "rfc2217://127.0.0.1:" + std::to_string(testsupport::FreeTcpPort());
    auto refused = Quarnctl(nobody, {"identify"});
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_NE(refused.err.find("refused"), std::string::npos) << refused.err;

    std::unique_ptr<testsupport::BackgroundProcess> stubborn;
    const std::string url = ListeningPlc(stubborn, "rfc2217", {"--refuse", "parity"});
    auto setting = Quarnctl(url, {"identify"});
    EXPECT_EQ(setting.exitStatus, 1);
    EXPECT_NE(setting.err.find("parity"), std::string::npos) << setting.err;
    EXPECT_EQ(setting.out.find("Station address"), std::string::npos);
}

TEST_F(NetworkPort, AServerThatStallsOrDiesMidDownloadEndsItAndTheNextRunWorks) {
    const fs::path project = CopySample(work / "project");
    const std::string before = Read(project);
    auto plc = Plc("plc");
    auto server = std::make_unique<testsupport::Ser2net>(
        std::vector<testsupport::Ser2netConnection>{{(work / "plc").string()}});
    ASSERT_TRUE(server->running()) << server->errors();
    const int tcpPort = server->tcpPort();
    const std::string url = server->url();

    for (int signal : {SIGSTOP, SIGKILL}) {
        auto download = std::async(std::launch::async, [&] {
            return Quarnctl(url, {"--yes", "download", project.string()});
        });
        clock.sleep(common::Millis(4000));  // into the modules
        if (signal == SIGSTOP) {
            server->signal(SIGSTOP);  // stops sending mid-answer; the connection stays
        } else {
            server->stop(SIGKILL);
        }
        auto result = download.get();
        EXPECT_EQ(result.exitStatus, 1) << signal;
        EXPECT_NE(result.err.find(kAbortText), std::string::npos)
            << signal << ": " << result.out << result.err;
        EXPECT_EQ(Read(project), before);
        if (signal == SIGSTOP) server->signal(SIGCONT);
    }
    server = std::make_unique<testsupport::Ser2net>(std::vector<testsupport::Ser2netConnection>{
        {(work / "plc").string(), "9600e81", true, true, tcpPort}});
    ASSERT_TRUE(server->running()) << server->errors();
    auto again = Quarnctl(url, {"--yes", "download", project.string()});
    EXPECT_EQ(again.exitStatus, 0) << again.out << again.err;
}
