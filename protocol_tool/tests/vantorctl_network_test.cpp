// vantorctl reading the protocol through a serial device server (ser2net on loopback): the
// file holds the display's bytes as over a local port.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_helpers.h"
#include "testsupport/process.h"
#include "testsupport/ser2net_server.h"

namespace fs = std::filesystem;

TEST(VantorctlNetwork, GetProtocolThroughADeviceServerKeepsEveryByte) {
    const std::string link = testsupport::FreshLinkPath("display");
    const fs::path dir = fs::path(link).parent_path();
    const std::string held = std::string(SAMPLES_DIR) + "/demo.pro";
    testsupport::BackgroundProcess sim(DISPLAYSIM_PATH, {"--link", link, "--protocol", held}, link);
    const std::string expected = common::ReadWholeFile(held).value_or("");
    // Over RFC 2217 and over raw TCP (socket://, the server's own 8N2 line).
    for (const bool rfc2217 : {true, false}) {
        testsupport::Ser2net server({{link, "9600n82", rfc2217}});
        ASSERT_TRUE(server.running()) << server.errors();
        const fs::path file = dir / (rfc2217 ? "may.pro" : "may-raw.pro");
        auto result = testsupport::Run(
            VANTORCTL, {"--port", server.url(), "get-protocol", file.string(), "--new"});
        EXPECT_EQ(result.exitStatus, 0) << server.url() << ": " << result.err;
        EXPECT_EQ(common::ReadWholeFile(file).value_or(""), expected) << server.url();
        server.stop();
    }
    sim.stop();
    fs::remove_all(dir);
}
