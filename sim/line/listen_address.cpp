#include "sim/line/listen_address.h"

#include <cctype>

namespace sim {

namespace {
constexpr const char* kRfc2217Scheme = "rfc2217://";
constexpr const char* kRawScheme = "socket://";
constexpr long kHighestPort = 65535;
}  // namespace

std::optional<ListenAddress> ParseListenAddress(const std::string& text, std::string& error) {
    ListenAddress address;
    std::string rest;
    if (text.rfind(kRfc2217Scheme, 0) == 0) {
        rest = text.substr(std::string(kRfc2217Scheme).size());
    } else if (text.rfind(kRawScheme, 0) == 0) {
        address.protocol = ListenProtocol::Raw;
        rest = text.substr(std::string(kRawScheme).size());
    } else {
        error = "takes rfc2217://HOST:PORT or socket://HOST:PORT";
        return std::nullopt;
    }
    const size_t colon = rest.rfind(':');
    if (colon == std::string::npos || colon + 1 == rest.size()) {
        error = "needs a port number after the host (HOST:PORT)";
        return std::nullopt;
    }
    address.host = rest.substr(0, colon);
    // An IPv6 address comes in brackets.
    if (address.host.size() >= 2 && address.host.front() == '[' && address.host.back() == ']')
        address.host = address.host.substr(1, address.host.size() - 2);
    if (address.host.empty()) {
        error = "needs a host before the port (127.0.0.1, for example)";
        return std::nullopt;
    }
    long port = 0;
    for (char c : rest.substr(colon + 1)) {
        if (!std::isdigit(static_cast<unsigned char>(c)) || port > kHighestPort) {
            error = "takes a port number from 0 to 65535";
            return std::nullopt;
        }
        port = port * 10 + (c - '0');
    }
    if (port > kHighestPort) {
        error = "takes a port number from 0 to 65535";
        return std::nullopt;
    }
    address.port = static_cast<int>(port);
    return address;
}

}  // namespace sim
