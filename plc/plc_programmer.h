#pragma once
// The object that talks to the PLC: owns the PLC state for the whole run and performs the
// commands on the serial link. Transfers and the variable display are built on it.
#include <array>
#include <cstdint>

#include "common/clock.h"
#include "common/frontend.h"
#include "link/serial_link.h"
#include "plc/exchange.h"
#include "plc/plc_state.h"

namespace plc {

// What the identify answer brings besides the firmware version.
struct IdentifyAnswer {
    std::uint8_t byte0 = 0;
    std::uint8_t byte1 = 0;
    std::uint8_t firmwareMajor = 0;
    std::uint8_t firmwareMinor = 0;
    std::uint16_t word1 = 0;
    std::uint16_t word2 = 0;
};

// The 11-byte module reservation record: byte 0 the requested module number, bytes 9-10
// the code length (low byte first); the answer overwrites bytes 0 to 8.
using ReservationRecord = std::array<std::uint8_t, 11>;

class CPlcProgrammer {
  public:
    // A header request that goes unanswered is repeated for the same module at most this
    // often in a row before the read counts as failed.
    static constexpr int kHeaderRetries = 5;

    CPlcProgrammer(serial::CSerialLink& link, common::Clock& clock, common::Frontend& frontend);
    ~CPlcProgrammer();
    CPlcProgrammer(const CPlcProgrammer&) = delete;
    CPlcProgrammer& operator=(const CPlcProgrammer&) = delete;

    PlcState& state() { return state_; }
    const PlcState& state() const { return state_; }
    PlcExchange& exchange() { return exchange_; }
    common::Frontend& frontend() { return frontend_; }
    common::Clock& clock() { return exchange_.clock(); }

    // Run control: true once acknowledged, CQuarnException otherwise. Both show the wait
    // cursor while they run and report their progress in the status line.
    bool Reset();
    bool InitEeprom();

    // Commands 0x20, 0x27 (with the flags word), 0x4A, 0x4B: write, 100 ms, WaitAck.
    void SendShortCommand(std::uint8_t code);
    void DeleteModule(std::uint8_t number);
    // 0 when the PLC answered (its first 9 data bytes are in the record), 1 when not.
    int ReserveModule(ReservationRecord& record);
    // 0 when the PLC answered (firmware stored), 1 when not.
    int Identify(IdentifyAnswer& answer);
    // True when the PLC firmware is not older than major.minor.
    bool FirmwareAtLeast(std::uint8_t major, std::uint8_t minor) const;
    // Copies the answer over the information block; keeps the block when none came.
    void ReadInfoBlock();
    // Fills the headers of the first count entries of the module table, each from the answer
    // to its own request. Throws "Comunication error:" when one module's request stays
    // unanswered through all its repeats.
    void ReadModuleHeaders(size_t count);

  private:
    std::string ShortFrame(std::uint8_t code, std::uint8_t d0, std::uint8_t d1) const;

    PlcExchange exchange_;
    common::Frontend& frontend_;
    PlcState state_;
};

// Wait cursor on for a scope, off again however it is left.
class BusyCursor {
  public:
    explicit BusyCursor(common::Frontend& frontend) : frontend_(frontend) {
        frontend_.setBusy(true);
    }
    ~BusyCursor() { frontend_.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    common::Frontend& frontend_;
};

}  // namespace plc
