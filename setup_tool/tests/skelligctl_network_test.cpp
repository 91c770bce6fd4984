// skelligctl sending the sample setup through a serial device server (ser2net on loopback)
// and to displaysim's own network port: the display receives what it receives over a local
// port.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/clock.h"
#include "common/file_helpers.h"
#include "testsupport/process.h"
#include "testsupport/ser2net_server.h"

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kFixedClock = {"--time", "11:54:19", "--date", "08.12.2026"};

}  // namespace

TEST(SkelligctlNetwork, TheSampleSetupArrivesAsOverALocalPort) {
    const fs::path dir = fs::path(testsupport::FreshLinkPath("display")).parent_path();
    const std::string text = std::string(SAMPLES_DIR) + "/anlage.txt";
    // Returns the record of a send through the port that reaching(link) gives.
    auto sendVia = [&](const std::string& name, auto reaching) {
        const std::string link = (dir / name).string();
        const fs::path record = dir / (name + ".txt");
        testsupport::BackgroundProcess sim(DISPLAYSIM_PATH,
                                           {"--link", link, "--record", record.string()}, link);
        std::vector<std::string> args = {"--port", reaching(link), "send", text};
        args.insert(args.end(), kFixedClock.begin(), kFixedClock.end());
        auto result = testsupport::Run(SKELLIGCTL_PATH, args);
        EXPECT_EQ(result.exitStatus, 0) << name << ": " << result.err;
        sim.stop();
        return common::ReadWholeFile(record).value_or("");
    };
    const std::string local = sendVia("local", [](const std::string& link) { return link; });
    ASSERT_NE(local.find("@TK0000/01/"), std::string::npos) << local;

    std::unique_ptr<testsupport::Ser2net> server;
    const std::string viaServer = sendVia("served", [&](const std::string& link) {
        server = std::make_unique<testsupport::Ser2net>(
            std::vector<testsupport::Ser2netConnection>{{link, "9600n82"}});
        EXPECT_TRUE(server->running()) << server->errors();
        return server->url();
    });
    EXPECT_EQ(viaServer, local);
    server.reset();

    // Raw TCP (socket://): the server's own line, 8N2 here, carries the display's bytes.
    const std::string viaSocket = sendVia("raw", [&](const std::string& link) {
        server = std::make_unique<testsupport::Ser2net>(
            std::vector<testsupport::Ser2netConnection>{{link, "9600n82", false}});
        EXPECT_TRUE(server->running()) << server->errors();
        return server->url();
    });
    EXPECT_EQ(viaSocket, local);
    server.reset();

    // displaysim on the network judges the line the client asked for, parity included.
    const fs::path record = dir / "listening.txt";
    const std::string url = "rfc2217://127.0.0.1:" + std::to_string(testsupport::FreeTcpPort());
    testsupport::BackgroundProcess sim(DISPLAYSIM_PATH,
                                       {"--listen", url, "--record", record.string()});
    common::RealClock clock;
    const common::Millis end = clock.now() + common::Millis(5000);
    while (!testsupport::IsListening(std::stoi(url.substr(url.rfind(':') + 1))) &&
           clock.now() < end)
        clock.sleep(common::Millis(20));
    std::vector<std::string> args = {"--port", url, "send", text};
    args.insert(args.end(), kFixedClock.begin(), kFixedClock.end());
    auto result = testsupport::Run(SKELLIGCTL_PATH, args);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    sim.stop();
    EXPECT_EQ(common::ReadWholeFile(record).value_or(""), local);
    fs::remove_all(dir);
}
