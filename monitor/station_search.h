#pragma once
// Finding the PLC's station address on the serial bus, and the connection check every PLC
// operation runs first.
#include <functional>
#include <optional>

#include "plc/plc_programmer.h"

namespace monitor {

// The station address tried first, then 0 to 15.
constexpr std::uint8_t kPreferredStation = 64;
constexpr std::uint8_t kLastStation = 15;

// Sends the identify request to 64, then 0..15, until one answers ("Scan SPS SP",
// "Scan SPS S%d"). True when one did; StationAddress then holds it, else 16.
bool FindStation(plc::CPlcProgrammer& programmer);

class ConnectionCheck {
  public:
    explicit ConnectionCheck(plc::CPlcProgrammer& programmer) : programmer_(programmer) {}

    // True when the operation may talk to the PLC. Searches once; after a failed search
    // reports "No answer from SPS! Please check connection and retry." as an error.
    bool CheckConnection();
    // After a change of the serial speed the next operation searches again.
    void Forget() { connected_ = false; }
    bool Connected() const { return connected_; }
    // A known station: the check identifies at that address only, without the search.
    void UseStation(std::uint8_t station) { station_ = station; }
    // Called once with the address a search found.
    void OnSearchFound(std::function<void(std::uint8_t)> found) { found_ = std::move(found); }

  private:
    plc::CPlcProgrammer& programmer_;
    bool connected_ = false;
    std::optional<std::uint8_t> station_;
    std::function<void(std::uint8_t)> found_;
};

}  // namespace monitor
