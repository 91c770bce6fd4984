#pragma once
// Wraps a device and reports every byte written and read, for the tools' --trace option.
// A read that ends in silence is reported with no bytes, so a listener can group what
// arrived before it.
#include <functional>
#include <string>

#include "link/serial_device.h"

namespace serial {

enum class TraceDirection { Written, Read };

class TracingDevice final : public SerialDevice {
  public:
    using Sink = std::function<void(TraceDirection, const std::string& bytes)>;
    TracingDevice(SerialDevice& inner, Sink sink) : inner_(inner), sink_(std::move(sink)) {}

    OpenError open(const std::string& path) override { return inner_.open(path); }
    bool configure(const LineSettings& s) override { return inner_.configure(s); }
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
