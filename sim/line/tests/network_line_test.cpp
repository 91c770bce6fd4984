// The network line on loopback: one client at a time, the next one served after it goes.
#include "sim/line/network_line.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int Connect(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    return fd;
}

std::string Receive(int fd) {
    std::string bytes;
    char chunk[256];
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, 500) > 0) {
        ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0) break;
        bytes.append(chunk, static_cast<size_t>(n));
    }
    return bytes;
}

std::string ReadAll(sim::DeviceLine& line, int wanted) {
    std::string bytes;
    for (int tries = 0; tries < 20 && static_cast<int>(bytes.size()) < wanted; ++tries)
        if (auto byte = line.readByte(common::Millis(100))) bytes += static_cast<char>(*byte);
    return bytes;
}

const std::string kSetEvenParity = "\xFF\xFA\x2C\x03\x03\xFF\xF0";

}  // namespace

TEST(NetworkLine, ServesOneClientAtATimeAndFreesThePortWhenItGoes) {
    std::string error;
    auto server = sim::TcpServer::Listen("127.0.0.1", 0, error);
    ASSERT_TRUE(server) << error;
    std::vector<std::string> notes;
    sim::NetworkLine line(*server, serial::PortScheme::Rfc2217, {}, sim::ComPortServer("t"),
                          [&notes](const std::string& note) { notes.push_back(note); });
    int first = Connect(server->port());
    ASSERT_EQ(::send(first, (kSetEvenParity + "A\xFF\xFF").data(), 10, 0), 10);
    EXPECT_EQ(ReadAll(line, 2), "A\xFF");
    EXPECT_EQ(line.lineSeen().parity, sim::ParitySeen::Even);
    EXPECT_EQ(Receive(first), "\xFF\xFA\x2C\x67\x03\xFF\xF0");
    EXPECT_TRUE(line.write("\xFF"));
    EXPECT_EQ(Receive(first), "\xFF\xFF");

    int second = Connect(server->port());
    ReadAll(line, 1);
    EXPECT_EQ(Receive(second), sim::kPortInUseText);
    ::close(second);

    ::close(first);
    ReadAll(line, 1);
    EXPECT_FALSE(server->hasClient());
    EXPECT_EQ(line.lineSeen().parity, sim::kServerStartLine.parity);
    int third = Connect(server->port());
    ASSERT_EQ(::send(third, "B", 1, 0), 1);
    EXPECT_EQ(ReadAll(line, 1), "B");
    ::close(third);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[1], "client left; the port is free");
}

TEST(NetworkLine, RawClientsGetTheDevicesOwnLineAndTheirBytesAsTheyAre) {
    std::string error;
    auto server = sim::TcpServer::Listen("127.0.0.1", 0, error);
    ASSERT_TRUE(server) << error;
    const sim::LineSeen device{9600, 8, 2, sim::ParitySeen::None};
    sim::NetworkLine line(*server, serial::PortScheme::Socket, device, sim::ComPortServer("t"));
    int client = Connect(server->port());
    ASSERT_EQ(::send(client, "\xFF\xFA", 2, 0), 2);
    EXPECT_EQ(ReadAll(line, 2), "\xFF\xFA");
    EXPECT_EQ(line.lineSeen().stopBits, 2);
    EXPECT_TRUE(line.write("\xFF"));
    EXPECT_EQ(Receive(client), "\xFF");
    ::close(client);
}
