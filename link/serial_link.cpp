#include "link/serial_link.h"

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
    devicePath_ = DevicePathFor(portName);
    lastOpenError_ = device_.open(devicePath_);
    if (lastOpenError_ != OpenError::None) return false;
    if (!device_.configure(settings_)) {
        frontend_.message("Unable to configure the serial port");
        return false;
    }
    return true;
}

void CSerialLink::Close() {
    if (device_.isOpen()) device_.close();
}

bool CSerialLink::IsOpen() const {
    return device_.isOpen();
}

bool CSerialLink::Write(const std::string& bytes) {
    bool ok = device_.isOpen() && device_.write(bytes, settings_.writeTotal);
    if (recordEnabled_) {
        transmitRecord_.push_back((ok ? ">" : "!> Error:") + bytes);
        if (transmitRecord_.size() > kTransmitRecordCap) transmitRecord_.pop_front();
    }
    return ok;
}

std::optional<std::uint8_t> CSerialLink::ReadByte() {
    return device_.readByte(settings_.readTotal);
}

bool CSerialLink::ReadAnswer(std::string& answer, bool checksumMode) {
    answer.clear();
    for (;;) {
        auto byte = ReadByte();
        if (!byte) return false;
        char c = static_cast<char>(*byte);
        if (c == '\r' && (!checksumMode || answer.size() == 3)) return true;
        answer += c;
        if (answer.size() >= kMaxAnswerLength) return false;
    }
}

CSerialLink::LineEnd CSerialLink::ReadLineEnd(std::string& line) {
    line.clear();
    for (;;) {
        ReadResult result = device_.read(settings_.readTotal);
        if (result.status == ReadStatus::Gone) return LineEnd::Gone;
        if (!result.hasByte()) return LineEnd::Silence;
        line += static_cast<char>(result.byte);
        if (result.byte == '\n') return LineEnd::LineFeed;
        if (line.size() >= kMaxLineLength) return LineEnd::TooLong;
    }
}

}  // namespace serial
