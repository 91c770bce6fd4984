#pragma once
// The port string a technician gives: a network address as a URL (rfc2217://HOST:PORT for
// a device server that sets the line on request, socket://HOST:PORT for raw TCP with the
// server's line settings), or anything else as the name of a local serial port. Pure, so
// the command line can refuse a malformed address before anything is opened.
#include <cstdint>
#include <string>

namespace serial {

enum class PortScheme { Local, Rfc2217, Socket };

struct PortAddress {
    PortScheme scheme = PortScheme::Local;
    std::string host;        // network schemes: a name, an IPv4 address, or an IPv6 one
    std::uint16_t port = 0;  // network schemes: 1 to 65535
};

struct ParsedPort {
    PortAddress address;
    // Empty when the string is usable; otherwise what is wrong with it, naming it.
    std::string problem;
    bool ok() const { return problem.empty(); }
};

ParsedPort ParsePortUrl(const std::string& port);

// Empty when `port` is usable, otherwise the sentence for a usage error.
std::string ValidatePortString(const std::string& port);

// True for a string that names a network port (a URL scheme), well formed or not.
bool IsNetworkPort(const std::string& port);

}  // namespace serial
