#pragma once
// Misbehaviour the simulated PLC shows on request, so the PC side's failure paths can be
// exercised end to end.
#include <cstdint>
#include <string>

namespace sim {

struct PlcFaults {
    bool silent = false;       // never answers
    bool wrongAck = false;     // 0x55 instead of 0xE5
    bool telegramAck = false;  // an answer telegram instead of 0xE5
    bool noise = false;        // stray bytes before every answer telegram
    bool damaged = false;      // answer telegrams with a wrong second 0x68
    int silentAfter = -1;      // silent from the (N+1)th received telegram on; -1: never
    bool assignZero = false;   // reservations get module number 0
    int badChecksum = -1;      // module N's code sum in memory is wrong; -1: none
    // drop-answer=C:N: the answer to the Nth request with command C is lost, as on a noisy
    // line; the requests before and after it are answered. -1: none.
    int dropCommand = -1;
    int dropNth = 0;
    mutable int dropSeen = 0;  // requests with dropCommand so far

    // Takes one --fault value ("silent", "wrong-ack", "telegram-ack", "noise", "damaged",
    // "silent-after=N", "assign-zero", "bad-checksum=N", "drop-answer=C:N"); false when it is
    // not one of them.
    bool parse(const std::string& kind);
    bool parseDropAnswer(const std::string& kind);
    // Counts the request; true when its answer is the one to lose.
    bool dropsAnswer(std::uint8_t command) const;

    // The bytes actually sent for a reply to the count-th received telegram (1-based).
    std::string apply(int count, std::uint8_t station, std::uint8_t command,
                      const std::string& reply) const;
};

// The --fault kinds this file knows, for the usage text.
inline constexpr const char* kPlcFaultKinds =
    "silent, wrong-ack, telegram-ack, noise, damaged, silent-after=N, assign-zero, "
    "bad-checksum=N, drop-answer=C:N";

}  // namespace sim
