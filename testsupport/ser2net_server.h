#pragma once
// A real serial device server in integration tests and benchmarks: ser2net in the
// foreground, configured by a generated YAML file with one connection per device (a
// simulator's pseudo-terminal) on a free loopback TCP port, stopped when destroyed.
// On a pseudo-terminal ser2net cannot carry parity and never answers DTR and RTS.
#include <memory>
#include <string>
#include <vector>

#include "testsupport/process.h"

namespace testsupport {

inline constexpr const char* kSer2netPath = "/usr/sbin/ser2net";

struct Ser2netConnection {
    std::string device;                    // the simulator's link
    std::string lineSettings = "9600e81";  // ser2net's speed, parity, data and stop bits
    bool rfc2217 = true;                   // telnet(rfc2217) or raw tcp
    bool charDelay = true;                 // ser2net's wait for more characters before sending
    int tcpPort = 0;                       // 0: a free one is picked
};

// The YAML text for the connections (tcpPort set).
std::string Ser2netConfig(const std::vector<Ser2netConnection>& connections);

// A TCP port on 127.0.0.1 that nothing listens on now.
int FreeTcpPort();
// True when something listens on 127.0.0.1:port (read from /proc/net/tcp).
bool IsListening(int port);

class Ser2net {
  public:
    // Starts ser2net and waits (up to 5 s) until every connection listens; running() is
    // false when it did not come up (errors() says why).
    explicit Ser2net(std::vector<Ser2netConnection> connections);
    ~Ser2net();
    Ser2net(const Ser2net&) = delete;
    Ser2net& operator=(const Ser2net&) = delete;

    bool running() const { return process_ && process_->running() && listening_; }
    // rfc2217://127.0.0.1:PORT or socket://127.0.0.1:PORT for connection i.
    std::string url(size_t i = 0) const;
    int tcpPort(size_t i = 0) const { return connections_.at(i).tcpPort; }
    // Ends it (SIGTERM, or the signal given, SIGKILL for a server that dies).
    void stop(int signal = 15);
    // Sends a signal without waiting for an end (SIGSTOP: a server that stops sending).
    void signal(int signal) { process_->signal(signal); }
    // What ser2net wrote to standard error, once it has ended.
    std::string errors() const;

  private:
    std::vector<Ser2netConnection> connections_;
    std::string configPath_;
    std::unique_ptr<BackgroundProcess> process_;
    bool listening_ = false;
    std::string errors_;
};

}  // namespace testsupport
