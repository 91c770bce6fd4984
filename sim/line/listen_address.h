#pragma once
// Where a simulator serves its device on the network: --listen rfc2217://HOST:PORT (Telnet
// with the COM-PORT-OPTION, the client sets the line) or socket://HOST:PORT (raw bytes, the
// line is taken as right).
#include <optional>
#include <string>

namespace sim {

enum class ListenProtocol { Rfc2217, Raw };

struct ListenAddress {
    ListenProtocol protocol = ListenProtocol::Rfc2217;
    std::string host;
    int port = 0;  // 0: any free port, reported at start
};

// The address, or nullopt with the reason in error.
std::optional<ListenAddress> ParseListenAddress(const std::string& text, std::string& error);

}  // namespace sim
