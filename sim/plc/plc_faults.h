#pragma once
// Misbehaviour the simulated PLC shows on request, so the PC side's failure paths can be
// exercised end to end: on the wire (what goes back to the line) and in the memory (what the
// PLC stores and reports).
#include <cstdint>
#include <string>

namespace sim {

// What happens to the answers on their way to the line.
struct PlcWireFaults {
    bool silent = false;       // never answers
    bool wrongAck = false;     // 0x55 instead of 0xE5
    bool telegramAck = false;  // an answer telegram instead of 0xE5
    bool noise = false;        // stray bytes before every answer telegram
    bool damaged = false;      // answer telegrams with a wrong second 0x68
    int silentAfter = -1;      // silent from the (N+1)th received telegram on; -1: never
    // drop-answer=C:N: the answer to the Nth request with command C is lost, as on a noisy
    // line; the requests before and after it are answered. -1: none.
    int dropCommand = -1;
    int dropNth = 0;
};

// What the memory model does wrong; the device applies these itself.
struct PlcMemoryFaults {
    bool assignZero = false;  // reservations are answered with module number 0
    int badChecksum = -1;     // this module's stored code sum is wrong
    int corruptWrite = -1;    // this block write (1-based) is stored with one byte changed
};

class PlcFaults {
  public:
    PlcWireFaults wire;
    PlcMemoryFaults memory;

    // Takes one --fault value ("silent", "wrong-ack", "telegram-ack", "noise", "damaged",
    // "silent-after=N", "assign-zero", "bad-checksum=N", "drop-answer=C:N", "corrupt-write=N");
    // false when it is not one of them. Numbers are decimal; a command code may also be
    // written 0x.. in hexadecimal.
    bool parse(const std::string& kind);

    // The bytes actually sent for a reply to the count-th received telegram (1-based). Each
    // reply passes here once: the requests of a command whose answer is to be lost are
    // counted.
    std::string apply(int count, std::uint8_t station, std::uint8_t command,
                      const std::string& reply);

  private:
    bool parseDropAnswer(const std::string& kind);
    bool dropsAnswer(std::uint8_t command);
    int dropSeen_ = 0;  // requests with wire.dropCommand so far
};

// The --fault kinds this file knows, for the usage text.
inline constexpr const char* kPlcFaultKinds =
    "silent, wrong-ack, telegram-ack, noise, damaged, silent-after=N, assign-zero, "
    "bad-checksum=N, drop-answer=C:N, corrupt-write=N";

}  // namespace sim
