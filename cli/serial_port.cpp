#include "cli/serial_port.h"

#include <cstdio>

#include "common/format.h"

namespace cli {

PortStack::PortStack(common::Clock& clock, bool trace)
    : clock_(clock), port_(serial::MakeSerialDevice(clock)), start_(clock.now()) {
    if (trace) {
        tracing_ = std::make_unique<serial::TracingDevice>(
            *port_, [this](serial::TraceDirection direction, const std::string& bytes) {
                this->trace(direction, bytes);
            });
        // A network port's option negotiation shows among the data, marked as such.
        tracing_->watchNegotiation([this](bool outgoing, const std::string& bytes) {
            flushReads();
            print(clock_.now(), outgoing ? "> negotiation" : "< negotiation", bytes);
        });
    }
}

PortStack::~PortStack() {
    flushReads();
}

void PortStack::print(common::Millis at, const char* direction, const std::string& bytes) {
    long long ms = (at - start_).count();
    std::fprintf(stderr, "%8lld.%03lld %s %s\n", ms / 1000, ms % 1000, direction,
                 common::HexBytes(bytes).c_str());
}

void PortStack::flushReads() {
    if (pendingReads_.empty()) return;
    print(pendingSince_, "<", pendingReads_);
    pendingReads_.clear();
}

void PortStack::trace(serial::TraceDirection direction, const std::string& bytes) {
    if (direction == serial::TraceDirection::Written) {
        flushReads();
        print(clock_.now(), ">", bytes);
        return;
    }
    if (bytes.empty()) {
        flushReads();
        return;
    }
    if (pendingReads_.empty()) pendingSince_ = clock_.now();
    pendingReads_ += bytes;
}

serial::SerialDevice& PortStack::device() {
    if (tracing_) return *tracing_;
    return *port_;
}

std::string ChoosePort(const std::string& portOption, common::Frontend& frontend,
                       const std::string& sysfsRoot) {
    if (!portOption.empty()) return portOption;
    return serial::FindConverterPort(frontend, sysfsRoot);
}

bool OpenOrExplain(serial::CSerialLink& serial, const std::string& port, bool fast) {
    if (serial.Open(port, fast)) return true;
    const std::string why = serial.OpenFailureText();
    if (!why.empty()) std::fprintf(stderr, "Cannot open the serial port: %s\n", why.c_str());
    return false;
}

void PrintPorts(const std::string& sysfsRoot) {
    auto ports = serial::ListPorts(sysfsRoot);
    std::string chosen = serial::ChooseConverterPort(ports);
    if (ports.empty()) std::printf("No serial ports found\n");
    for (const auto& port : ports) {
        std::printf("%s %-10s %s\n", port.name == chosen ? "*" : " ", port.name.c_str(),
                    port.description.c_str());
    }
}

}  // namespace cli
