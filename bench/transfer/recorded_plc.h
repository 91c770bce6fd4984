#pragma once
// What the transfer floors share: the fixed date the transfers stamp, and a scripted device
// that answers as the simulated PLC and records every telegram and its answer.
#include <ctime>
#include <vector>

#include "link/scripted_device.h"
#include "plc/transfer/protocol_time.h"
#include "sim/plc/plc_device.h"

namespace bench {

// 1 January 2026, midnight: every run writes the same bytes.
std::tm FixedTime();

// Lets `simulated` answer each frame written to `device` and appends the exchange (its command
// byte, request and answer lengths) to `exchanges`.
void AnswerAsPlc(serial::ScriptedDevice& device, sim::PlcDevice& simulated,
                 std::vector<plc::timing::Exchange>& exchanges);

}  // namespace bench
