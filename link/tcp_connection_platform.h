#pragma once
// What each platform's TCP connection file (tcp_connection_posix.cpp, _win32.cpp) gives the
// shared part (tcp_connection.cpp), and what the shared part gives them. The shared part runs
// the name lookup on a thread of its own within the deadline and tries the addresses in
// turn; a platform knows its sockets.
#include <cstdint>
#include <string>
#include <vector>

#include "common/clock.h"
#include "link/serial_device.h"

namespace serial::tcp {

// How often a wait that a stop request may end looks at it.
inline constexpr common::Millis kStopCheck{100};

// The milliseconds left until `deadline`, never below zero, for the platform's waits.
int RemainingMs(common::Clock& clock, common::Millis deadline);

// One address a host name resolved to, as the platform's socket calls take it.
struct Address {
    int family = 0;
    int socketType = 0;
    int protocol = 0;
    std::vector<unsigned char> socketAddress;  // the sockaddr, ai_addrlen bytes
};

struct LookupAnswer {
    OpenError failure = OpenError::None;  // NoSuchHost or Unreachable
    std::vector<Address> addresses;
};

// Per platform. Whether the platform's network layer could be started.
bool NetworkAvailable();
// Per platform. The blocking name lookup: it cannot be given a time-out, so the shared part
// runs it on a thread that is left behind when it takes too long or the user stops.
LookupAnswer LookUp(const std::string& host, std::uint16_t port);

}  // namespace serial::tcp
