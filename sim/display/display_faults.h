#pragma once
// The ways a simulated text display misbehaves on request, so the clients' failure paths
// can be driven end to end. Command numbers count every command the display received,
// from 1, in the order of the record file's lines.
#include <string>
#include <vector>

namespace sim {

struct DisplayFaults {
    bool silent = false;        // answers nothing at all
    bool wrongLogin = false;    // answers "@TA\r" with "a\r" instead of "A\r"
    bool doubledLogin = false;  // answers "@TA\r" with "AA\r"
    bool wrongLogout = false;   // answers "@Ta\r" with "A\r" instead of "a\r"
    int wrongChecksumAt = 0;    // the acknowledgement of this command has a wrong checksum
    int shortAckAt = 0;         // the acknowledgement of this command is its letter only
    int silentFrom = 0;         // from this command on nothing is answered
    int pauseInLine = 0;        // a retrieval answer stalls inside this line (from 1)
    bool endless = false;       // a retrieval answer repeats its lines for ever
};

// Adds the fault of one "--fault" value to faults; false, with a reason in error, when the
// value names no fault.
bool AddFault(const std::string& spec, DisplayFaults& faults, std::string& error);

// The "--fault" values, one per line with what each does, for the usage text.
std::string FaultUsage();

}  // namespace sim
