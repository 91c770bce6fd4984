#include "link/port_url.h"

#include <gtest/gtest.h>

#include "link/open_sentences.h"

using serial::ParsePortUrl;
using serial::PortScheme;

TEST(PortUrl, NetworkAddressesAndLocalNames) {
    auto parsed = ParsePortUrl("rfc2217://plc-cabinet.local:4001");
    ASSERT_TRUE(parsed.ok()) << parsed.problem;
    EXPECT_EQ(parsed.address.scheme, PortScheme::Rfc2217);
    EXPECT_EQ(parsed.address.host, "plc-cabinet.local");
    EXPECT_EQ(parsed.address.port, 4001);

    parsed = ParsePortUrl("SOCKET://[::1]:65535");
    ASSERT_TRUE(parsed.ok()) << parsed.problem;
    EXPECT_EQ(parsed.address.scheme, PortScheme::Socket);
    EXPECT_EQ(parsed.address.host, "::1");
    EXPECT_EQ(parsed.address.port, 65535);

    for (const char* local : {"ttyUSB0", "/tmp/plc-link", "com5", "\\\\.\\COM12", "./a:b"}) {
        parsed = ParsePortUrl(local);
        EXPECT_TRUE(parsed.ok()) << local;
        EXPECT_EQ(parsed.address.scheme, PortScheme::Local) << local;
        EXPECT_FALSE(serial::IsNetworkPort(local)) << local;
    }
}

TEST(PortUrl, MalformedAddressesAreRefusedNamingTheArgument) {
    for (const char* bad :
         {"rfc2217://", "rfc2217://host", "rfc2217://host:", "rfc2217://:4001", "socket://host:0",
          "socket://host:65536", "socket://host:99999999999", "socket://host:40a1",
          "rfc2217://[::1]", "rfc2217://::1:4001", "telnet://host:23", "rfc2217://host/x:4001"}) {
        const std::string problem = serial::ValidatePortString(bad);
        EXPECT_NE(problem.find(std::string("\"") + bad + "\""), std::string::npos)
            << bad << ": " << problem;
    }
    EXPECT_NE(serial::ValidatePortString("socket://host:70000").find("between 1 and 65535"),
              std::string::npos);
    EXPECT_FALSE(serial::ValidatePortString("").empty());
}

// A missing converter port gets the converter hint; a missing simulator link does not.
TEST(OpenSentences, TheConverterHintIsOnlyForConverterPorts) {
    for (const char* converter : {"/dev/ttyUSB0", "/dev/ttyACM3", "com7", "\\\\.\\COM12"}) {
        EXPECT_NE(serial::MissingPortSentence(converter).find("USB-serial converter plugged in"),
                  std::string::npos)
            << converter;
    }
    for (const char* other : {"/tmp/plc-link", "/dev/ttyS0", "/tmp/com", "./comX"}) {
        const std::string sentence = serial::MissingPortSentence(other);
        EXPECT_EQ(sentence.find("converter"), std::string::npos) << other;
        EXPECT_EQ(sentence.rfind(std::string(other) + " does not exist", 0), 0u) << sentence;
    }
}
