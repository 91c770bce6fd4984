#include "link/telnet_codec.h"

#include <gtest/gtest.h>

#include <vector>

namespace telnet = serial::telnet;
using Kind = telnet::Event::Kind;

namespace {
std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

std::vector<telnet::Event> Receive(const std::string& wire) {
    telnet::Receiver receiver;
    std::vector<telnet::Event> events;
    for (char c : wire) {
        if (auto event = receiver.push(static_cast<std::uint8_t>(c))) events.push_back(*event);
    }
    return events;
}
}  // namespace

TEST(TelnetCodec, OutgoingBytes) {
    EXPECT_EQ(telnet::EscapeData(Bytes({0x68, 0xFF, 0x00, 0xFF, 0xFF})),
              Bytes({0x68, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(telnet::SetBaudrate(19200), Bytes({255, 250, 44, 1, 0, 0, 0x4B, 0x00, 255, 240}));
    // A value byte of 0xFF is doubled inside the subnegotiation as well.
    EXPECT_EQ(telnet::SetBaudrate(0xFF), Bytes({255, 250, 44, 1, 0, 0, 0, 255, 255, 255, 240}));
    EXPECT_EQ(telnet::ComPortByte(telnet::kSetParity, telnet::kParityEven),
              Bytes({255, 250, 44, 3, 3, 255, 240}));
    EXPECT_EQ(telnet::BaudFromValue(Bytes({0, 0, 0x25, 0x80})), 9600u);
}

TEST(TelnetCodec, ReceiverSplitsDataOptionsAndSubnegotiations) {
    const auto events = Receive(Bytes({0x41, 255, 255, 255, 253, 44,  255,  241, 0x42, 255, 250,
                                       44,   101, 0,   0,   255, 255, 0x80, 255, 240,  0x43}));
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0].kind, Kind::Data);
    EXPECT_EQ(events[0].byte, 0x41);
    EXPECT_EQ(events[1].kind, Kind::Data);  // a doubled 0xFF is one data byte
    EXPECT_EQ(events[1].byte, 0xFF);
    EXPECT_EQ(events[2].kind, Kind::Option);
    EXPECT_EQ(events[2].byte, telnet::kDo);
    EXPECT_EQ(events[2].option, telnet::kComPortOption);
    EXPECT_EQ(events[3].byte, 0x42);  // IAC NOP between them carried nothing
    EXPECT_EQ(events[4].kind, Kind::Subnegotiation);
    EXPECT_EQ(events[4].option, 44);
    EXPECT_EQ(events[4].payload, Bytes({101, 0, 0, 255, 0x80}));
    EXPECT_EQ(events[5].byte, 0x43);
}

TEST(TelnetCodec, HostileSubnegotiationsStayBounded) {
    // Endless subnegotiation data is cut, and a subnegotiation ended by another command
    // still yields the command that follows.
    std::string wire = Bytes({255, 250, 44});
    wire += std::string(10000, 'x');
    wire += Bytes({255, 251, 0, 0x44});
    const auto events = Receive(wire);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].payload.size(), telnet::Receiver::kMaxPayload);
    EXPECT_EQ(events[1].kind, Kind::Option);
    EXPECT_EQ(events[1].byte, telnet::kWill);
    EXPECT_EQ(events[2].byte, 0x44);
}
