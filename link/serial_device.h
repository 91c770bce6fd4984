#pragma once
// The serial port as the link layer sees it: a tty driven through termios, a COM port, or a
// serial line that a device server puts on the network. Tests use a scripted in-memory
// device. Nothing above link/ sees errno, termios or sockets.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "link/line_settings.h"

namespace serial {

// Why a port could not be opened, mapped once from the platform's or the network's error.
enum class OpenError {
    None,
    Absent,        // no such port
    Busy,          // another program or network client holds it
    NoPermission,  // this user may not open it
    NotATerminal,  // the path names something that is not a serial port
    Malformed,     // a network address that cannot be one (rfc2217:// without host or port)
    NoSuchHost,    // the host name does not resolve
    Refused,       // nothing listens on that network port
    Unreachable,   // no route to the host, or the network is down
    TimedOut,      // the host did not answer within the connect time-out
    Stopped,       // the user asked to stop while the port was being opened
    Other
};

// How an open ended: the reason, and the backend's sentence for the technician (what went
// wrong, naming the port, and what to do about it). The sentence is empty on success.
struct OpenResult {
    OpenError reason = OpenError::None;
    std::string sentence;
    bool ok() const { return reason == OpenError::None; }
};

// How applying line settings ended. A refusal may carry the backend's sentence naming the
// setting that was refused (a device server that took another parity than asked).
struct SettingsResult {
    bool applied = true;
    std::string refusal;
    explicit operator bool() const { return applied; }
    static SettingsResult Refused(std::string why = {}) { return {false, std::move(why)}; }
};

// What one read brought: a byte, silence for the whole time-out, or the news that the device
// has gone (the converter was unplugged, the far end of a pseudo-terminal closed, the device
// server's connection ended). Each read operation decides what a gone device means for it.
enum class ReadStatus { Byte, Silence, Gone };

struct ReadResult {
    ReadStatus status = ReadStatus::Silence;
    std::uint8_t byte = 0;
    bool hasByte() const { return status == ReadStatus::Byte; }
};

// How a write ends: Drained returns when the bytes have left the port (the line is quiet
// afterwards); HandedOver returns as soon as the driver has taken them, for a request whose
// answer is read next, so the pacing wait runs while the request is still on the line.
// Where the line cannot be seen (a device server on the network) both return when the whole
// request has been handed to the connection: the server's line is out of sight, and the
// pacing waits then cover its transit.
enum class WriteEnd { Drained, HandedOver };

// Bytes that manage the line rather than carry data (the network port's option
// negotiation), for --trace: `outgoing` for what this side sent.
using NegotiationSink = std::function<void(bool outgoing, const std::string& bytes)>;

// The contract every backend keeps:
// - Stops: a stop request (SIGINT, SIGTERM, the console's Ctrl-C) never cuts a read or a
//   write short. An interrupted wait is resumed for the rest of its time-out, so the answer
//   under way is finished; CSerialLink decides, between reads, not to wait for the next one.
//   Only open() gives up early on a stop, since nothing has been said to the device yet.
// - open() is bounded: a name lookup or a connect ends after a few seconds at most.
// - read() returns one byte, Silence after the whole time-out, or Gone; a gone device still
//   lets the time-out pass, so callers that only look for bytes see the timing of silence.
// - close() lets bytes already written leave (within the write time-out), gives the port
//   back as it was found, and may be called on a closed device; afterwards isOpen() is false,
//   writes fail and reads report Gone at once.
// - configure() may be called again on an open device to change the line settings (the PLC's
//   second speed) without closing it.
class SerialDevice {
  public:
    virtual ~SerialDevice() = default;
    // Opens the port named as the user gave it (ttyUSB0, /tmp/plc, com5,
    // rfc2217://host:port); each backend forms its own device path. Exclusive: a second user
    // is refused. On failure the device stays closed.
    virtual OpenResult open(const std::string& port) = 0;
    // Applies the line settings (speed, framing, modem lines).
    virtual SettingsResult configure(const LineSettings& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Writes all bytes and returns as `end` says, or false after the time-out.
    virtual bool write(std::string_view bytes, common::Millis timeout,
                       WriteEnd end = WriteEnd::Drained) = 0;
    // One byte, silence after the time-out, or Gone.
    virtual ReadResult read(common::Millis timeout) = 0;
    // Where negotiation bytes go; only network ports have any.
    virtual void watchNegotiation(NegotiationSink /*sink*/) {}
    // The byte, or nullopt for silence and for a gone device alike.
    std::optional<std::uint8_t> readByte(common::Millis timeout) {
        ReadResult result = read(timeout);
        if (!result.hasByte()) return std::nullopt;
        return result.byte;
    }
};

}  // namespace serial
