#pragma once
// The simulator's loop: bytes from the line (a pseudo-terminal or a network client) into the
// request parser, requests to the device, replies (through the faults) back to the line.
#include <cstdio>
#include <memory>
#include <string>

#include "common/clock.h"
#include "sim/line/device_line.h"
#include "sim/plc/line_pacer.h"
#include "sim/plc/plc_device.h"
#include "sim/plc/plc_faults.h"
#include "sim/plc/request_parser.h"

namespace sim {

struct PlcSimOptions {
    std::uint8_t station = 64;
    std::uint8_t firmwareMajor = 2;
    std::uint8_t firmwareMinor = 0;
    bool verbose = false;
    PlcFaults faults;
    // The PLC's memory is loaded from this file at start (when it exists) and saved to it
    // after every request that changed it.
    std::string imagePath;
    // Bytes take their wire time at the speed the client set.
    bool realtime = false;
};

// True when the client set the PLC's line: 8 data bits, even parity, 1 stop bit, 9600 or
// 19200 baud. (Parity can't be seen on a pseudo-terminal, only over the network.)
bool PlcLineAccepted(const LineSeen& line);

class PlcSimulator {
  public:
    PlcSimulator(PlcSimOptions options, DeviceLine& line, common::Clock& clock);

    // Loads the image named in the options, if there is one; false with a reason when the
    // file exists but can't be used.
    bool loadImage(std::string& error);

    // Serves the line until a stop signal arrives.
    void run();
    // Handles one byte from the client (the loop's step, for tests).
    void receive(std::uint8_t byte);

    PlcDevice& device() { return device_; }
    int telegramsReceived() const { return received_; }

  private:
    void log(const char* direction, const std::string& bytes);
    void saveImageIfChanged();
    PlcSimOptions options_;
    DeviceLine& line_;
    common::Clock& clock_;
    LinePacer pacer_;
    PlcDevice device_;
    std::uint64_t savedChanges_ = 0;
    RequestParser parser_;
    int received_ = 0;
};

}  // namespace sim
