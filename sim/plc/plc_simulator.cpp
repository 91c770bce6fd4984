#include "sim/plc/plc_simulator.h"

#include <filesystem>

#include "common/format.h"
#include "link/stop_signals.h"

namespace sim {

bool PlcLineAccepted(const LineSeen& line) {
    return line.dataBits == 8 && line.stopBits == 1 && (line.baud == 9600 || line.baud == 19200) &&
           (line.parity == ParitySeen::Even || line.parity == ParitySeen::NotVisible);
}

PlcSimulator::PlcSimulator(PlcSimOptions options, DeviceLine& line, common::Clock& clock)
    : options_(std::move(options)),
      line_(line),
      clock_(clock),
      pacer_(clock, options_.realtime),
      device_(options_.station, options_.firmwareMajor, options_.firmwareMinor) {
    device_.setMemoryFaults(options_.faults.memory);
    savedChanges_ = device_.memory().changes();
}

bool PlcSimulator::loadImage(std::string& error) {
    if (options_.imagePath.empty()) return true;
    std::error_code ec;
    if (std::filesystem::exists(options_.imagePath, ec)) {
        if (!device_.memory().loadImage(options_.imagePath, error)) return false;
        // Faults apply to the loaded memory too.
        device_.setMemoryFaults(options_.faults.memory);
    }
    // The image exists from the start, so a test or a second run finds it.
    savedChanges_ = device_.memory().changes() + 1;
    saveImageIfChanged();
    if (!std::filesystem::exists(options_.imagePath, ec)) {
        error = "cannot write " + options_.imagePath;
        return false;
    }
    return true;
}

void PlcSimulator::saveImageIfChanged() {
    if (options_.imagePath.empty() || device_.memory().changes() == savedChanges_) return;
    if (device_.memory().saveImage(options_.imagePath)) {
        savedChanges_ = device_.memory().changes();
    } else {
        std::fprintf(stderr, "plcsim: cannot save the image %s\n", options_.imagePath.c_str());
    }
}

void PlcSimulator::log(const char* direction, const std::string& bytes) {
    if (!options_.verbose) return;
    std::printf("%s %s\n", direction, common::HexBytes(bytes).c_str());
    std::fflush(stdout);
}

void PlcSimulator::receive(std::uint8_t byte) {
    const LineSeen line = line_.lineSeen();
    pacer_.received(line.baud);
    auto request = parser_.feed(byte, clock_.now());
    if (!request) return;
    ++received_;
    pacer_.awaitReceived();
    log("<-", request->frame);
    if (!PlcLineAccepted(line)) {
        // A real PLC would only see garbage on a wrongly set line.
        if (options_.verbose)
            std::printf("   ignored: line set to %d baud, %d data bits, %s, %d stop bits\n",
                        line.baud, line.dataBits, ParityName(line.parity), line.stopBits);
        return;
    }
    device_.memory().tick(clock_.now());
    std::string reply = device_.handle(*request);
    reply = options_.faults.apply(received_, device_.station(), request->command, reply);
    if (!reply.empty()) {
        pacer_.send(reply, line.baud,
                    [this](const std::string& bytes) { return line_.write(bytes); });
        log("->", reply);
    }
    saveImageIfChanged();
}

void PlcSimulator::run() {
    while (!serial::StopRequested()) {
        auto byte = line_.readByte(common::Millis(200));
        if (byte) receive(*byte);
    }
}

}  // namespace sim
