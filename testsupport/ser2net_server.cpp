#include "testsupport/ser2net_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/clock.h"

namespace testsupport {

namespace {

constexpr int kStartTimeoutMs = 5000;
constexpr common::Millis kListenPoll{20};
constexpr const char* kListenState = "0A";  // TCP_LISTEN in /proc/net/tcp

}  // namespace

std::string Ser2netConfig(const std::vector<Ser2netConnection>& connections) {
    std::ostringstream yaml;
    for (size_t i = 0; i < connections.size(); ++i) {
        const Ser2netConnection& c = connections[i];
        yaml << "connection: &device" << i << "\n"
             << "  accepter: " << (c.rfc2217 ? "telnet(rfc2217),tcp," : "tcp,") << "127.0.0.1,"
             << c.tcpPort << "\n"
             << "  connector: serialdev," << c.device << "," << c.lineSettings << ",local\n"
             << "  options:\n"
             << "    chardelay: " << (c.charDelay ? "true" : "false") << "\n";
    }
    return yaml.str();
}

int FreeTcpPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

bool IsListening(int port) {
    char wanted[16];
    std::snprintf(wanted, sizeof wanted, ":%04X", port);
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);  // the heading
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state;
        fields >> slot >> local >> remote >> state;
        if (local.size() > 5 && local.compare(local.size() - 5, 5, wanted) == 0 &&
            state == kListenState)
            return true;
    }
    return false;
}

Ser2net::Ser2net(std::vector<Ser2netConnection> connections)
    : connections_(std::move(connections)) {
    for (Ser2netConnection& c : connections_)
        if (c.tcpPort == 0) c.tcpPort = FreeTcpPort();
    const std::string folder = std::filesystem::path(FreshLinkPath("ser2net")).parent_path();
    configPath_ = folder + "/ser2net.yaml";
    std::ofstream(configPath_) << Ser2netConfig(connections_);
    // -n: in the foreground; -u: no UUCP lock files; -P: its pid file beside the config.
    process_ = std::make_unique<BackgroundProcess>(
        kSer2netPath,
        std::vector<std::string>{"-n", "-u", "-c", configPath_, "-P", folder + "/ser2net.pid"},
        std::string{}, true);
    common::RealClock clock;
    const common::Millis end = clock.now() + common::Millis(kStartTimeoutMs);
    while (process_->running() && clock.now() < end) {
        listening_ = true;
        for (const Ser2netConnection& c : connections_)
            listening_ = listening_ && IsListening(c.tcpPort);
        if (listening_) return;
        clock.sleep(kListenPoll);
    }
    stop();  // keeps what it said for errors()
}

Ser2net::~Ser2net() {
    stop();
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(configPath_).parent_path(), ec);
}

std::string Ser2net::url(size_t i) const {
    const Ser2netConnection& c = connections_.at(i);
    return std::string(c.rfc2217 ? "rfc2217://" : "socket://") +
           "127.0.0.1:" + std::to_string(c.tcpPort);
}

void Ser2net::stop(int signal) {
    if (!process_) return;
    process_->stop(signal);
    errors_ = process_->errors();
    listening_ = false;
}

std::string Ser2net::errors() const {
    return errors_;
}

}  // namespace testsupport
