#pragma once
// An in-memory serial device for unit tests, on virtual time. The test says what the
// device sends (bytes, pauses) and, through a responder, how it answers each write. A read
// with nothing to deliver advances the fake clock by its time-out and returns no byte.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "common/clock.h"
#include "link/serial_device.h"

namespace serial {

class ScriptedDevice final : public SerialDevice {
  public:
    using Responder = std::function<std::string(const std::string& written)>;

    explicit ScriptedDevice(common::FakeClock& clock);

    OpenResult open(const std::string& path) override;
    SettingsResult configure(const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool write(std::string_view bytes, common::Millis timeout, WriteEnd end) override;
    ReadResult read(common::Millis timeout) override;

    // Bytes that become readable now.
    void feed(const std::string& bytes);
    // A silence of the given length before the bytes fed after it.
    void feedPause(common::Millis pause);
    // Called with every write; what it returns becomes readable.
    void respond(Responder responder) { responder_ = std::move(responder); }
    // Every later open fails with this error.
    void failOpen(OpenError error) { openError_ = error; }
    // Every later configure is refused, with this sentence (may be empty).
    void refuseConfigure(bool refuse, std::string why = {}) {
        refuseConfigure_ = refuse;
        refusal_ = std::move(why);
    }
    int configureCount() const { return configureCount_; }
    void failWrites(bool fail) { failWrites_ = fail; }
    // Once the bytes fed so far are read, every read reports the device gone.
    void hangUp() { hungUp_ = true; }
    // Models the line's time: each character takes bitsPerChar / baud seconds to cross. A
    // Drained write then returns when its bytes have crossed (the clock advances), a
    // HandedOver write at once; a responder's answer starts only after the request has
    // crossed, and its bytes become readable one character time apart.
    void modelLineTime(int bitsPerChar, int baud);

    const std::vector<std::string>& writes() const { return writes_; }
    // The virtual time of each write, in order.
    const std::vector<common::Millis>& writeTimes() const { return writeTimes_; }
    std::string written() const;
    const std::string& openedPath() const { return path_; }
    const LineSettings& settings() const { return settings_; }
    bool pending() const { return !incoming_.empty(); }
    void clearWrites();

  private:
    struct Item {
        std::string bytes;
        common::Millis pause{0};
        common::Micros readyAt{0};  // modelled line time: not readable before this
    };
    common::Micros lineTime(size_t chars) const;
    void waitUntil(common::Micros at);
    common::FakeClock& clock_;
    std::deque<Item> incoming_;
    Responder responder_;
    std::vector<std::string> writes_;
    std::vector<common::Millis> writeTimes_;
    LineSettings settings_;
    std::string path_;
    OpenError openError_ = OpenError::None;
    bool open_ = false;
    bool refuseConfigure_ = false;
    std::string refusal_;
    int configureCount_ = 0;
    bool failWrites_ = false;
    bool hungUp_ = false;
    int bitsPerChar_ = 0;  // 0: the line takes no time
    int baud_ = 0;
    common::Micros lineFreeAt_{0};  // when the bytes written so far have crossed
};

}  // namespace serial
