// --port as the three tools read it.
#include "cli/port_option.h"

#include <gtest/gtest.h>

#include "cli/command_line.h"

namespace {

struct Parsed {
    std::optional<int> status;
    std::string port;
    std::string err;
};

Parsed Parse(const std::vector<std::string>& args) {
    cli::CommandLine line("quarnctl", "test");
    Parsed parsed;
    cli::AddPortOption(line.app(), parsed.port);
    std::string out;
    parsed.status = line.Parse(args, out, parsed.err);
    return parsed;
}

}  // namespace

TEST(PortOption, TakesLocalPortsAndBothNetworkSchemes) {
    for (const char* port : {"ttyUSB0", "/tmp/plc", "rfc2217://127.0.0.1:7001",
                             "socket://cabinet-3.plant:4001", "rfc2217://[::1]:7001"}) {
        Parsed parsed = Parse({"--port", port});
        EXPECT_FALSE(parsed.status) << port << ": " << parsed.err;
        EXPECT_EQ(parsed.port, port);
    }
}

TEST(PortOption, AMalformedAddressIsAUsageErrorNamingTheArgument) {
    for (const char* port : {"rfc2217://", "rfc2217://host", "socket://host:", "socket://:7001",
                             "rfc2217://host:65536", "rfc2217://host:0", "socket://host:70x", ""}) {
        Parsed parsed = Parse({"--port", port});
        EXPECT_EQ(parsed.status, 2) << port;
        EXPECT_EQ(parsed.err.rfind("quarnctl: --port: ", 0), 0u) << parsed.err;
        if (*port) {
            EXPECT_NE(parsed.err.find(port), std::string::npos) << parsed.err;
        }
        EXPECT_EQ(parsed.err.find('\n'), parsed.err.size() - 1) << parsed.err;
    }
}
