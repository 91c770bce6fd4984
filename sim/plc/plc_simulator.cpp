#include "sim/plc/plc_simulator.h"

#include "common/format.h"

namespace sim {

bool PlcLineAccepted(const serial::ObservedLine& line) {
    return line.dataBits == 8 && line.stopBits == 1 && (line.baud == 9600 || line.baud == 19200);
}

PlcSimulator::PlcSimulator(PlcSimOptions options, serial::PseudoTerminal& pty)
    : options_(std::move(options)),
      pty_(pty),
      device_(options_.station, options_.firmwareMajor, options_.firmwareMinor) {}

void PlcSimulator::log(const char* direction, const std::string& bytes) {
    if (!options_.verbose) return;
    std::printf("%s %s\n", direction, common::HexBytes(bytes).c_str());
    std::fflush(stdout);
}

void PlcSimulator::receive(std::uint8_t byte) {
    auto request = parser_.feed(byte);
    if (!request) return;
    ++received_;
    log("<-", request->frame);
    serial::ObservedLine line = pty_.observedLine();
    if (!PlcLineAccepted(line)) {
        // A real PLC would only see garbage on a wrongly set line.
        if (options_.verbose)
            std::printf("   ignored: line set to %d baud, %d data bits, %d stop bits\n", line.baud,
                        line.dataBits, line.stopBits);
        return;
    }
    std::string reply = device_.handle(*request);
    reply = options_.faults.apply(received_, device_.station(), request->command, reply);
    if (reply.empty()) return;
    log("->", reply);
    pty_.write(reply);
}

void PlcSimulator::run() {
    while (!serial::StopRequested()) {
        auto byte = pty_.readByte(common::Millis(200));
        if (byte) receive(*byte);
    }
}

}  // namespace sim
