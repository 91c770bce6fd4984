#include "monitor/station_search.h"

#include <utility>

#include "common/format.h"

namespace monitor {

namespace {
bool Answers(plc::CPlcProgrammer& programmer, std::uint8_t station) {
    programmer.state().stationAddress = station;
    plc::IdentifyAnswer answer;
    return programmer.Identify(answer) == 0;
}
}  // namespace

bool FindStation(plc::CPlcProgrammer& programmer) {
    common::Frontend& frontend = programmer.frontend();
    frontend.setStatus("Scan SPS SP");
    if (Answers(programmer, kPreferredStation)) return true;
    for (int n = 0; n <= kLastStation; ++n) {
        frontend.setStatus(common::Format("Scan SPS S%d", n));
        if (Answers(programmer, static_cast<std::uint8_t>(n))) return true;
    }
    programmer.state().stationAddress = kLastStation + 1;
    return false;
}

bool ConnectionCheck::CheckConnection() {
    if (connected_) return true;
    if (station_) {
        connected_ = Answers(programmer_, *station_);
    } else if (FindStation(programmer_)) {
        connected_ = true;
        if (found_) std::exchange(found_, nullptr)(programmer_.state().stationAddress);
    }
    if (connected_) return true;
    programmer_.frontend().reportError("No answer from SPS! Please check connection and retry.",
                                       true);
    return false;
}

}  // namespace monitor
