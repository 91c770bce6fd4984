#pragma once
// The text display's protocol and statistics commands: bare ASCII strings, written in one
// write each, with no terminator, checksum or login.
#include <string>

namespace protocol {

// Sent right before a protocol or statistics request: a slash and a lower-case r, not a
// carriage return.
inline constexpr char kRequestPrefix[] = "@@/r";
// The new protocol entries (Mode other than 0).
inline constexpr char kNewEntriesRequest[] = "@YA@";
// The protocol up to entry number Cnt, exactly four digits (@Y0100@ for 100).
inline constexpr char kProtocolUpToFormat[] = "@Y%04d@";
inline constexpr char kClearProtocolCommand[] = "@YI@";
inline constexpr char kStatisticsRequest[] = "@yA@";
inline constexpr char kClearStatisticsCommand[] = "@yI@";

// The Protocol dialog's choice: Mode 0 is "Protocol up to no:", 1 "New protocol entries".
inline constexpr int kModeUpTo = 0;
inline constexpr int kModeNewEntries = 1;
// Entry numbers the display accepts in a request.
inline constexpr int kMinCnt = 1;
inline constexpr int kMaxCnt = 9999;

// The request GetProtocol sends after the prefix: "@YA@" for any Mode but 0, else the
// "up to" request with Cnt (which the callers keep within kMinCnt..kMaxCnt).
std::string ProtocolRequest(int mode, int cnt);

}  // namespace protocol
