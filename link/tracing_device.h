#pragma once
// Wraps a device and reports every byte written and read, for the tools' --trace option.
// A read that ends in silence is reported with no bytes, so a listener can group what
// arrived before it. Negotiation bytes of a network port are not data: they reach the
// listener through watchNegotiation, passed on to the device inside.
#include <functional>
#include <string>

#include "link/serial_device.h"

namespace serial {

enum class TraceDirection { Written, Read };

class TracingDevice final : public SerialDevice {
  public:
    using Sink = std::function<void(TraceDirection, const std::string& bytes)>;
    TracingDevice(SerialDevice& inner, Sink sink) : inner_(inner), sink_(std::move(sink)) {}

    OpenResult open(const std::string& port) override { return inner_.open(port); }
    SettingsResult configure(const LineSettings& s) override { return inner_.configure(s); }
    void watchNegotiation(NegotiationSink sink) override {
        inner_.watchNegotiation(std::move(sink));
    }
    void close() override { inner_.close(); }
    bool isOpen() const override { return inner_.isOpen(); }
    bool write(std::string_view bytes, common::Millis timeout, WriteEnd end) override {
        bool ok = inner_.write(bytes, timeout, end);
        sink_(TraceDirection::Written, std::string(bytes));
        return ok;
    }
    ReadResult read(common::Millis timeout) override {
        ReadResult result = inner_.read(timeout);
        sink_(TraceDirection::Read,
              result.hasByte() ? std::string(1, static_cast<char>(result.byte)) : std::string());
        return result;
    }

  private:
    SerialDevice& inner_;
    Sink sink_;
};

}  // namespace serial
