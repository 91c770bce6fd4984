#include "link/serial_link.h"

#include "link/stop_signals.h"

namespace serial {

CSerialLink::CSerialLink(SerialDevice& device, common::Frontend& frontend, Program program)
    : device_(device), frontend_(frontend), program_(program), settings_(SettingsFor(program)) {}

CSerialLink::~CSerialLink() {
    Close();
}

bool CSerialLink::Open(const std::string& portName, bool fast) {
    // Callers close before reopening; a second open must not leak the first one.
    if (device_.isOpen()) device_.close();
    settings_ = SettingsFor(program_, fast);
    settingsRefusal_.clear();
    lastOpen_ = device_.open(portName);
    if (!lastOpen_.ok()) return false;
    return ApplySettings();
}

bool CSerialLink::ChangeSpeed(bool fast) {
    settings_ = SettingsFor(program_, fast);
    settingsRefusal_.clear();
    if (!device_.isOpen()) return false;
    return ApplySettings();
}

bool CSerialLink::ApplySettings() {
    SettingsResult result = device_.configure(settings_);
    if (result) return true;
    settingsRefusal_ = result.refusal;
    frontend_.message("Unable to configure the serial port");
    return false;
}

std::string CSerialLink::OpenFailureText() const {
    if (!lastOpen_.ok()) return lastOpen_.sentence;
    return settingsRefusal_;
}

void CSerialLink::Close() {
    if (device_.isOpen()) device_.close();
}

bool CSerialLink::IsOpen() const {
    return device_.isOpen();
}

bool CSerialLink::Write(const std::string& bytes, WriteEnd end) {
    bool ok = device_.isOpen() && device_.write(bytes, settings_.writeTotal, end);
    answerBegun_ = false;
    if (recordEnabled_) {
        transmitRecord_.push_back((ok ? ">" : "!> Error:") + bytes);
        if (transmitRecord_.size() > kTransmitRecordCap) transmitRecord_.pop_front();
    }
    return ok;
}

bool CSerialLink::Stopped() const {
    return followStop_ && StopRequested();
}

std::optional<std::uint8_t> CSerialLink::ReadByte() {
    // An answer that has begun is read to its end; the next one is not waited for.
    if (!answerBegun_ && Stopped()) return std::nullopt;
    auto byte = device_.readByte(settings_.readTotal);
    if (byte) answerBegun_ = true;
    return byte;
}

common::Millis CSerialLink::AnswerTimeBound(const LineSettings& settings, size_t longestBytes) {
    constexpr std::int64_t kMillisPerSecond = 1000;
    constexpr std::int64_t kWireTimeMargin = 2;
    const std::int64_t baud = settings.baud > 0 ? settings.baud : 1;
    const std::int64_t wire =
        (static_cast<std::int64_t>(longestBytes) * kBitsPerCharacter * kMillisPerSecond + baud -
         1) /
        baud;
    return 2 * settings.readTotal + common::Millis(kWireTimeMargin * wire);
}

bool CSerialLink::ReadAnswer(std::string& answer, bool checksumMode) {
    answer.clear();
    if (Stopped()) return false;
    const common::Millis deadline = clock_->now() + AnswerTimeBound(settings_, kMaxAnswerLength);
    for (;;) {
        auto byte = ReadByte();
        if (!byte || clock_->now() > deadline) return false;
        char c = static_cast<char>(*byte);
        if (c == '\r' && (!checksumMode || answer.size() == 3)) return true;
        answer += c;
        if (answer.size() >= kMaxAnswerLength) return false;
    }
}

CSerialLink::LineEnd CSerialLink::ReadLineEnd(std::string& line) {
    line.clear();
    // The line in progress is read to its end; the next one is not.
    if (Stopped()) return LineEnd::Gone;
    const common::Millis deadline = clock_->now() + AnswerTimeBound(settings_, kMaxLineLength);
    for (;;) {
        ReadResult result = device_.read(settings_.readTotal);
        // Silence that ends while a stop is requested is the end of the operation, not the
        // silence that ends a complete answer (the wait itself ran its whole time-out).
        if (result.status == ReadStatus::Gone || (!result.hasByte() && Stopped()))
            return LineEnd::Gone;
        if (!result.hasByte() || clock_->now() > deadline) return LineEnd::Silence;
        line += static_cast<char>(result.byte);
        if (result.byte == '\n') return LineEnd::LineFeed;
        if (line.size() >= kMaxLineLength) return LineEnd::TooLong;
    }
}

}  // namespace serial
