#include "link/port_url.h"

#include <algorithm>
#include <cctype>

namespace serial {

namespace {

constexpr std::string_view kSchemeEnd = "://";
constexpr unsigned long kHighestPort = 65535;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A URL scheme: a letter, then letters, digits, "+", "-" or ".", then "://".
size_t SchemeLength(const std::string& port) {
    const size_t end = port.find(kSchemeEnd);
    if (end == std::string::npos || end == 0) return 0;
    if (std::isalpha(static_cast<unsigned char>(port[0])) == 0) return 0;
    for (size_t i = 1; i < end; ++i) {
        const char c = port[i];
        if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '+' && c != '-' && c != '.')
            return 0;
    }
    return end;
}

ParsedPort Problem(const std::string& port, const std::string& what) {
    ParsedPort parsed;
    parsed.problem = "\"" + port + "\" is not a usable network port: " + what;
    return parsed;
}

}  // namespace

bool IsNetworkPort(const std::string& port) {
    return SchemeLength(port) != 0;
}

ParsedPort ParsePortUrl(const std::string& port) {
    ParsedPort parsed;
    const size_t schemeLength = SchemeLength(port);
    if (schemeLength == 0) {
        if (port.empty()) parsed.problem = "The port name is empty";
        return parsed;
    }
    const std::string scheme = Lower(port.substr(0, schemeLength));
    if (scheme == "rfc2217") {
        parsed.address.scheme = PortScheme::Rfc2217;
    } else if (scheme == "socket") {
        parsed.address.scheme = PortScheme::Socket;
    } else {
        return Problem(port,
                       "the scheme " + scheme + ":// is unknown (use rfc2217:// or socket://)");
    }
    const std::string rest = port.substr(schemeLength + kSchemeEnd.size());
    const std::string form = " (write " + scheme + "://HOST:PORT)";
    if (rest.empty()) return Problem(port, "the host and the port number are missing" + form);
    std::string host;
    std::string number;
    if (rest[0] == '[') {  // [IPv6]:port
        const size_t close = rest.find(']');
        if (close == std::string::npos)
            return Problem(port, "the \"]\" after the address is missing");
        host = rest.substr(1, close - 1);
        if (close + 1 >= rest.size() || rest[close + 1] != ':')
            return Problem(port, "the port number is missing" + form);
        number = rest.substr(close + 2);
    } else {
        const size_t colon = rest.rfind(':');
        if (colon == std::string::npos) return Problem(port, "the port number is missing" + form);
        host = rest.substr(0, colon);
        number = rest.substr(colon + 1);
        if (host.find(':') != std::string::npos)
            return Problem(port, "an IPv6 address goes in brackets, [::1]:PORT");
    }
    if (host.empty()) return Problem(port, "the host is missing" + form);
    if (host.find_first_of("/?#@ ") != std::string::npos)
        return Problem(port, "the host \"" + host + "\" is not a host name or address");
    if (number.empty()) return Problem(port, "the port number is missing" + form);
    if (!std::all_of(number.begin(), number.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }))
        return Problem(port, "the port number \"" + number + "\" is not a number");
    const unsigned long value = number.size() > 5 ? kHighestPort + 1 : std::stoul(number);
    if (value == 0 || value > kHighestPort)
        return Problem(port, "the port number " + number + " is not between 1 and 65535");
    parsed.address.host = host;
    parsed.address.port = static_cast<std::uint16_t>(value);
    return parsed;
}

std::string ValidatePortString(const std::string& port) {
    return ParsePortUrl(port).problem;
}

}  // namespace serial
