// The device server's Telnet side, byte for byte.
#include "sim/line/com_port_server.h"

#include <gtest/gtest.h>

namespace {

using sim::ComPortServer;

ComPortServer::Output Feed(ComPortServer& server, const std::string& bytes) {
    ComPortServer::Output out;
    for (char c : bytes) server.receive(static_cast<std::uint8_t>(c), out);
    return out;
}

std::string B(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s += static_cast<char>(b);
    return s;
}

}  // namespace

TEST(ComPortServer, TakesBinaryAndComPortOptionOnceAndDeclinesTheRest) {
    ComPortServer server("plcsim");
    // WILL BINARY, DO BINARY, WILL COM-PORT, DO ECHO (1), WILL BINARY again.
    auto out = Feed(server, B({255, 251, 0, 255, 253, 0, 255, 251, 44, 255, 253, 1, 255, 251, 0}));
    EXPECT_EQ(out.reply, B({255, 253, 0, 255, 251, 0, 255, 253, 44, 255, 252, 1}));
    EXPECT_TRUE(out.data.empty());
}

TEST(ComPortServer, ConfirmsThePlcLineWithCodePlusHundred) {
    ComPortServer server("plcsim");
    // 9600 baud in network order, 8 data bits, even parity, 1 stop bit, DTR off, RTS off.
    auto out = Feed(server, B({255, 250, 44, 1, 0,  0,   0x25, 0x80, 255, 240,  //
                               255, 250, 44, 2, 8,  255, 240,                   //
                               255, 250, 44, 3, 3,  255, 240,                   //
                               255, 250, 44, 4, 1,  255, 240,                   //
                               255, 250, 44, 5, 9,  255, 240,                   //
                               255, 250, 44, 5, 12, 255, 240}));
    EXPECT_EQ(out.reply, B({255, 250, 44, 101, 0,  0,   0x25, 0x80, 255, 240,  //
                            255, 250, 44, 102, 8,  255, 240,                   //
                            255, 250, 44, 103, 3,  255, 240,                   //
                            255, 250, 44, 104, 1,  255, 240,                   //
                            255, 250, 44, 105, 9,  255, 240,                   //
                            255, 250, 44, 105, 12, 255, 240}));
    const sim::LineSeen line = server.line();
    EXPECT_EQ(line.baud, 9600);
    EXPECT_EQ(line.dataBits, 8);
    EXPECT_EQ(line.parity, sim::ParitySeen::Even);
    EXPECT_EQ(line.stopBits, 1);
    EXPECT_FALSE(server.dtr());
    // A new client starts from the server's own line again.
    server.reset();
    EXPECT_EQ(server.line().baud, sim::kServerStartLine.baud);
}

TEST(ComPortServer, ARefusedSettingIsAnsweredWithTheValueKept) {
    sim::RefusedSettings refused;
    refused.parity = true;
    refused.baud = true;
    ComPortServer server("plcsim", refused);
    auto out = Feed(server,
                    B({255, 250, 44, 3, 3, 255, 240, 255, 250, 44, 1, 0, 0, 0x4B, 0x00, 255, 240}));
    // 38400 = 0x9600.
    EXPECT_EQ(out.reply,
              B({255, 250, 44, 103, 1, 255, 240, 255, 250, 44, 101, 0, 0, 0x96, 0x00, 255, 240}));
    EXPECT_EQ(server.line().parity, sim::ParitySeen::None);
}

TEST(ComPortServer, DoubledFfIsOneDataByteEitherWayAndInsideASubnegotiation) {
    ComPortServer server("x");
    auto out = Feed(server, B({0x68, 255, 255, 0x16, 255, 241, 0x01}));  // 241: NOP
    EXPECT_EQ(out.data, B({0x68, 255, 0x16, 0x01}));
    EXPECT_EQ(ComPortServer::Escape(B({1, 255, 255, 2})), B({1, 255, 255, 255, 255, 2}));
    // A baud rate with an 0xFF byte (0x0000FFFF) comes doubled and goes back doubled.
    out = Feed(server, B({255, 250, 44, 1, 0, 0, 255, 255, 255, 255, 255, 240}));
    EXPECT_EQ(server.line().baud, 0xFFFF);
    EXPECT_EQ(out.reply, B({255, 250, 44, 101, 0, 0, 255, 255, 255, 255, 255, 240}));
}

TEST(ComPortServer, PurgeDropsReceivedDataAndSignatureIsAnswered) {
    ComPortServer server("displaysim");
    auto out = Feed(server, B({255, 250, 44, 12, 1, 255, 240, 255, 250, 44, 0, 255, 240}));
    EXPECT_TRUE(out.purgeReceived);
    EXPECT_EQ(out.reply, B({255, 250, 44, 112, 1, 255, 240}) + B({255, 250, 44, 100}) +
                             "displaysim" + B({255, 240}));
}
