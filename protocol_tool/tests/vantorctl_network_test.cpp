// vantorctl reading the protocol through a serial device server (ser2net on loopback): the
// file holds the display's bytes as over a local port.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "testsupport/process.h"
#include "testsupport/ser2net_server.h"

namespace fs = std::filesystem;

TEST(VantorctlNetwork, GetProtocolThroughADeviceServerKeepsEveryByte) {
    const std::string link = testsupport::FreshLinkPath("display");
    const fs::path dir = fs::path(link).parent_path();
    const std::string held = std::string(SAMPLES_DIR) + "/demo.pro";
    testsupport::BackgroundProcess sim(DISPLAYSIM_PATH, {"--link", link, "--protocol", held}, link);
    testsupport::Ser2net server({{link, "9600n82"}});
    ASSERT_TRUE(server.running()) << server.errors();
    const fs::path file = dir / "may.pro";
    auto result = testsupport::Run(
        VANTORCTL, {"--port", server.url(), "get-protocol", file.string(), "--new"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    std::ifstream in(file, std::ios::binary), want(held, std::ios::binary);
    std::ostringstream got, expected;
    got << in.rdbuf();
    expected << want.rdbuf();
    EXPECT_EQ(got.str(), expected.str());
    server.stop();
    sim.stop();
    fs::remove_all(dir);
}
