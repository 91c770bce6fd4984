#pragma once
// The simulator's loop: bytes from the pseudo-terminal into the request parser, requests to
// the device, replies (through the faults) back to the line.
#include <cstdio>
#include <memory>
#include <string>

#include "link/pseudo_terminal.h"
#include "sim/plc/plc_device.h"
#include "sim/plc/plc_faults.h"
#include "sim/plc/request_parser.h"

namespace sim {

struct PlcSimOptions {
    std::string linkPath;
    std::uint8_t station = 64;
    std::uint8_t firmwareMajor = 2;
    std::uint8_t firmwareMinor = 0;
    bool verbose = false;
    PlcFaults faults;
};

// True when the client set the PLC's line: 8 data bits, 1 stop bit, 9600 or 19200 baud.
// (Parity can't be seen on a pseudo-terminal.)
bool PlcLineAccepted(const serial::ObservedLine& line);

class PlcSimulator {
public:
    PlcSimulator(PlcSimOptions options, serial::PseudoTerminal& pty);

    // Serves the line until a stop signal arrives.
    void run();
    // Handles one byte from the client (the loop's step, for tests).
    void receive(std::uint8_t byte);

    PlcDevice& device() { return device_; }
    int telegramsReceived() const { return received_; }

private:
    void log(const char* direction, const std::string& bytes);
    PlcSimOptions options_;
    serial::PseudoTerminal& pty_;
    PlcDevice device_;
    RequestParser parser_;
    int received_ = 0;
};

}  // namespace sim
