// The network ports against a scripted server on loopback: the exact negotiation bytes, the
// confirmations, refusals, a held port, and the end of a connection.
#include <gtest/gtest.h>

#include "common/recording_frontend.h"
#include "link/platform_serial.h"
#include "link/serial_link.h"
#include "link/telnet_codec.h"
#include "link/tests/loopback_server.h"

namespace telnet = serial::telnet;
using common::Millis;

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

const std::string kOffers = Bytes({255, 251, 0, 255, 253, 0, 255, 251, 44});
const std::string kDoComPort = Bytes({255, 253, 44});

std::string Reply(std::uint8_t code, std::string value) {
    return telnet::ComPortCommand(code + telnet::kServerReply, value);
}

std::string BaudValue(std::uint32_t baud) {
    return Bytes(
        {int(baud >> 24), int((baud >> 16) & 255), int((baud >> 8) & 255), int(baud & 255)});
}

// The PLC's line: speed, 8 data bits, even parity, 1 stop bit, no flow control, DTR and RTS
// off.
std::string PlcLineRequest(std::uint32_t baud) {
    return telnet::SetBaudrate(baud) + Bytes({255, 250, 44, 2, 8, 255, 240}) +
           Bytes({255, 250, 44, 3, 3, 255, 240}) + Bytes({255, 250, 44, 4, 1, 255, 240}) +
           Bytes({255, 250, 44, 5, 1, 255, 240}) + Bytes({255, 250, 44, 5, 9, 255, 240}) +
           Bytes({255, 250, 44, 5, 12, 255, 240});
}

// The server's confirmations; DTR and RTS get no answer, as from a server on a
// pseudo-terminal.
std::string Confirmations(std::uint32_t baud, int parity) {
    return Reply(telnet::kSetBaudrate, BaudValue(baud)) + Reply(telnet::kSetDatasize, "\x08") +
           Reply(telnet::kSetParity, std::string(1, static_cast<char>(parity))) +
           Reply(telnet::kSetStopsize, "\x01");
}

// Everything up to the open's end: offers, the server's DO, the speed query and its answer.
void Handshake(testnet::Peer& peer, std::string& mismatch) {
    peer.expect(kOffers, mismatch);
    peer.send(kDoComPort);
    peer.expect(telnet::SetBaudrate(0), mismatch);
    peer.send(Reply(telnet::kSetBaudrate, BaudValue(9600)));
}

struct NetworkPort : ::testing::Test {
    common::RealClock clock;
    common::RecordingFrontend frontend;
    std::unique_ptr<serial::SerialDevice> device = serial::MakeSerialDevice(clock);
    testnet::LoopbackServer server;
    std::string mismatch;
};

}  // namespace

TEST_F(NetworkPort, Rfc2217SetsTheLineAndWaitsForItBeforeData) {
    std::string negotiated;
    device->watchNegotiation([&](bool out, const std::string& bytes) {
        if (out) negotiated += bytes;
    });
    server.serve([&](testnet::Peer& peer) {
        Handshake(peer, mismatch);
        peer.expect(PlcLineRequest(9600), mismatch);
        peer.send(Confirmations(9600, telnet::kParityEven) + Bytes({0x06, 0xFF, 0xFF}));
        peer.expect(Bytes({0x68, 0xFF, 0xFF, 0x16}), mismatch);  // 0xFF doubled on the way out
        // The speed change is a new SET-BAUDRATE on the same connection.
        peer.expect(PlcLineRequest(19200), mismatch);
        peer.send(Confirmations(19200, telnet::kParityEven) + Bytes({0x15}));
        peer.read(1);  // until the client closes
    });
    serial::CSerialLink link(*device, frontend, serial::Program::QuarnWin);
    ASSERT_TRUE(link.Open(server.url("rfc2217"))) << link.OpenFailureText();
    EXPECT_EQ(link.ReadByte(), 0x06);
    EXPECT_EQ(link.ReadByte(), 0xFF);
    EXPECT_TRUE(link.Write(Bytes({0x68, 0xFF, 0x16})));
    EXPECT_TRUE(link.ChangeSpeed(true)) << link.OpenFailureText();
    EXPECT_EQ(link.ReadByte(), 0x15);
    link.Close();
    server.join();
    EXPECT_EQ(mismatch, "");
    EXPECT_EQ(negotiated,
              kOffers + telnet::SetBaudrate(0) + PlcLineRequest(9600) + PlcLineRequest(19200));
    EXPECT_TRUE(frontend.calls().empty());
}

TEST_F(NetworkPort, Rfc2217ServerTakingAnotherParityIsARefusalNamingIt) {
    server.serve([&](testnet::Peer& peer) {
        Handshake(peer, mismatch);
        peer.expect(PlcLineRequest(9600), mismatch);
        peer.send(Confirmations(9600, telnet::kParityNone));
        peer.read(1);
    });
    serial::CSerialLink link(*device, frontend, serial::Program::QuarnWin);
    EXPECT_FALSE(link.Open(server.url("rfc2217")));
    EXPECT_EQ(frontend.texts("message"),
              std::vector<std::string>{"Unable to configure the serial port"});
    EXPECT_NE(link.OpenFailureText().find("parity none where even was asked"), std::string::npos)
        << link.OpenFailureText();
    link.Close();
    server.join();
    EXPECT_EQ(mismatch, "");
}

TEST_F(NetworkPort, APortHeldByAnotherClientIsInUse) {
    for (const char* scheme : {"rfc2217", "socket"}) {
        const bool telnet = std::string(scheme) == "rfc2217";
        server.serve([&](testnet::Peer& peer) {
            if (telnet) peer.read(kOffers.size());
            peer.send((telnet ? kDoComPort : "") + "Port already in use\r\n");
            // What the client sent is read before the end, or the end would be a reset.
            if (telnet) peer.read(telnet::SetBaudrate(0).size());
        });
        const serial::OpenResult result = device->open(server.url(scheme));
        server.join();
        EXPECT_EQ(result.reason, serial::OpenError::Busy) << scheme << ": " << result.sentence;
        EXPECT_NE(result.sentence.find("in use by another client"), std::string::npos);
        EXPECT_NE(result.sentence.find("\"Port already in use\""), std::string::npos);
        EXPECT_FALSE(device->isOpen());
    }
}

TEST_F(NetworkPort, RawTcpCarriesBytesAsTheyAreUntilTheConnectionEnds) {
    server.serve([&](testnet::Peer& peer) {
        peer.expect(Bytes({0xFF, 0x00, 0x0D}), mismatch);
        peer.send(Bytes({0xFF, 0x41}));
    });
    ASSERT_TRUE(device->open(server.url("socket")).ok());
    EXPECT_TRUE(device->configure(serial::SettingsFor(serial::Program::Vantor)));
    EXPECT_TRUE(device->write(Bytes({0xFF, 0x00, 0x0D}), Millis(1000)));
    EXPECT_EQ(device->readByte(Millis(2000)), 0xFF);
    EXPECT_EQ(device->readByte(Millis(2000)), 0x41);
    server.join();
    // A closed connection is a gone device, as an unplugged converter; its time-out passes.
    const Millis before = clock.now();
    EXPECT_EQ(device->read(Millis(300)).status, serial::ReadStatus::Gone);
    EXPECT_GE((clock.now() - before).count(), 250);
    EXPECT_EQ(mismatch, "");
}

TEST_F(NetworkPort, UnreachablePortsSayWhy) {
    std::uint16_t closedPort = 0;
    {
        testnet::LoopbackServer gone;  // nothing listens on its port once it is closed
        closedPort = gone.port();
    }
    serial::OpenResult result = device->open("rfc2217://127.0.0.1:" + std::to_string(closedPort));
    EXPECT_EQ(result.reason, serial::OpenError::Refused) << result.sentence;
    EXPECT_NE(result.sentence.find("refused the connection"), std::string::npos);

    result = device->open("rfc2217://:4001");
    EXPECT_EQ(result.reason, serial::OpenError::Malformed);
    EXPECT_NE(result.sentence.find("the host is missing"), std::string::npos);
}
