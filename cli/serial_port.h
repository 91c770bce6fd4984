#pragma once
// What the three command-line tools share about the port: --port or discovery, opening
// with a clear reason when that fails, and --trace.
#include <memory>
#include <string>

#include "common/clock.h"
#include "common/frontend.h"
#include "link/platform_serial.h"
#include "link/serial_link.h"
#include "link/tracing_device.h"

namespace cli {

// The port device stack of a tool: the platform's device, wrapped for --trace. The trace
// prints each write on a line of its own, and the bytes read up to the next write or
// silence on one line, stamped with the time their first byte came; a network port's
// negotiation on lines marked "> negotiation" and "< negotiation".
class PortStack {
  public:
    PortStack(common::Clock& clock, bool trace);
    ~PortStack();
    PortStack(const PortStack&) = delete;
    PortStack& operator=(const PortStack&) = delete;
    serial::SerialDevice& device();

  private:
    void trace(serial::TraceDirection direction, const std::string& bytes);
    void flushReads();
    void print(common::Millis at, const char* direction, const std::string& bytes);
    common::Clock& clock_;
    std::string pendingReads_;
    common::Millis pendingSince_{0};
    std::unique_ptr<serial::SerialDevice> port_;
    std::unique_ptr<serial::TracingDevice> tracing_;
    common::Millis start_;
};

// The port to use: the --port value, or the discovered converter (empty after the
// discovery's own message when there is none).
std::string ChoosePort(const std::string& portOption, common::Frontend& frontend,
                       const std::string& sysfsRoot = "/sys");

// Opens the link; when that fails prints why to standard error and returns false.
bool OpenOrExplain(serial::CSerialLink& serial, const std::string& port, bool fast = false);

// Prints the serial ports with descriptions, the one discovery chooses marked with "*".
void PrintPorts(const std::string& sysfsRoot = "/sys");

// Exit statuses of the tools.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

}  // namespace cli
