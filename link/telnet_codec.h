#pragma once
// Telnet as a device server speaks it, with the COM-PORT-OPTION that sets the server's
// serial line (speed, framing, modem lines) from here. Pure byte work, no sockets: the
// negotiation bytes this side sends, and a receive state machine that splits what the
// server sends into data bytes, option commands and subnegotiations.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace serial::telnet {

// Telnet command bytes.
inline constexpr std::uint8_t kIac = 255;
inline constexpr std::uint8_t kDont = 254;
inline constexpr std::uint8_t kDo = 253;
inline constexpr std::uint8_t kWont = 252;
inline constexpr std::uint8_t kWill = 251;
inline constexpr std::uint8_t kSb = 250;
inline constexpr std::uint8_t kSe = 240;

// Options.
inline constexpr std::uint8_t kBinary = 0;
inline constexpr std::uint8_t kSuppressGoAhead = 3;
inline constexpr std::uint8_t kComPortOption = 44;

// COM-PORT-OPTION commands from the client; the server answers each with the same code plus
// kServerReply and the value it took.
inline constexpr std::uint8_t kSetBaudrate = 1;  // four bytes, network order
inline constexpr std::uint8_t kSetDatasize = 2;
inline constexpr std::uint8_t kSetParity = 3;
inline constexpr std::uint8_t kSetStopsize = 4;
inline constexpr std::uint8_t kSetControl = 5;
inline constexpr std::uint8_t kPurgeData = 12;
inline constexpr std::uint8_t kServerReply = 100;

// Values.
inline constexpr std::uint8_t kParityNone = 1;
inline constexpr std::uint8_t kParityOdd = 2;
inline constexpr std::uint8_t kParityEven = 3;
inline constexpr std::uint8_t kStopsizeOne = 1;
inline constexpr std::uint8_t kStopsizeTwo = 2;
inline constexpr std::uint8_t kControlNoFlow = 1;
inline constexpr std::uint8_t kControlDtrOn = 8;
inline constexpr std::uint8_t kControlDtrOff = 9;
inline constexpr std::uint8_t kControlRtsOn = 11;
inline constexpr std::uint8_t kControlRtsOff = 12;
inline constexpr std::uint8_t kPurgeBoth = 3;

// Data for the wire: every 0xFF doubled, so it is not taken for a command.
std::string EscapeData(std::string_view data);

// IAC verb option.
std::string OptionCommand(std::uint8_t verb, std::uint8_t option);

// IAC SB COM-PORT-OPTION command value... IAC SE, 0xFF in the value doubled.
std::string ComPortCommand(std::uint8_t command, std::string_view value);
std::string SetBaudrate(std::uint32_t baud);
std::string ComPortByte(std::uint8_t command, std::uint8_t value);

// The value of a 4-byte baud rate in network order.
std::uint32_t BaudFromValue(std::string_view value);

// What the receive side makes of the server's bytes.
struct Event {
    enum class Kind { Data, Option, Subnegotiation };
    Kind kind = Kind::Data;
    std::uint8_t byte = 0;    // Data: the byte; Option: the verb (kWill, kWont, kDo, kDont)
    std::uint8_t option = 0;  // Option and Subnegotiation
    std::string payload;      // Subnegotiation: the bytes after the option, 0xFF undoubled
};

class Receiver {
  public:
    // Longer subnegotiations are cut to this; no server needs more, a hostile one gets no
    // more memory.
    static constexpr size_t kMaxPayload = 64;

    // Takes one byte from the server; an event when the byte completes one.
    std::optional<Event> push(std::uint8_t byte);

  private:
    enum class State { Data, Command, Option, SubOption, SubData, SubCommand };
    State state_ = State::Data;
    std::uint8_t verb_ = 0;
    Event sub_;
};

}  // namespace serial::telnet
