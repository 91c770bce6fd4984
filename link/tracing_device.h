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
    bool write(std::string_view bytes, common::Millis timeout) override {
        bool ok = inner_.write(bytes, timeout);
        sink_(TraceDirection::Written, std::string(bytes));
        return ok;
    }
    std::optional<std::uint8_t> readByte(common::Millis timeout) override {
        auto byte = inner_.readByte(timeout);
        sink_(TraceDirection::Read,
              byte ? std::string(1, static_cast<char>(*byte)) : std::string());
        return byte;
    }

  private:
    SerialDevice& inner_;
    Sink sink_;
};

}  // namespace serial
