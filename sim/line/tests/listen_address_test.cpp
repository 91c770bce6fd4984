#include "sim/line/listen_address.h"

#include <gtest/gtest.h>

TEST(ListenAddress, TakesBothSchemesAndRefusesMalformedOnes) {
    std::string error;
    auto telnet = sim::ParseListenAddress("rfc2217://127.0.0.1:7001", error);
    ASSERT_TRUE(telnet);
    EXPECT_EQ(telnet->protocol, sim::ListenProtocol::Rfc2217);
    EXPECT_EQ(telnet->host, "127.0.0.1");
    EXPECT_EQ(telnet->port, 7001);
    auto raw = sim::ParseListenAddress("socket://[::1]:0", error);
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->protocol, sim::ListenProtocol::Raw);
    EXPECT_EQ(raw->host, "::1");
    for (const char* bad :
         {"rfc2217://", "rfc2217://host", "rfc2217://host:", "socket://:7001",
          "rfc2217://host:65536", "rfc2217://host:7x", "tcp://host:1", "/tmp/plc"})
        EXPECT_FALSE(sim::ParseListenAddress(bad, error)) << bad;
}
