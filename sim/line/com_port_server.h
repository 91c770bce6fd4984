#pragma once
// The device server's side of a Telnet connection with the COM-PORT-OPTION: the client's
// option requests are answered (BINARY, SUPPRESS-GO-AHEAD and COM-PORT-OPTION taken, every
// other option declined), its line settings taken and confirmed with the command code plus
// 100 and the value now in force, and 0xFF in the data undoubled on the way in and doubled
// on the way out. Pure: bytes in, bytes out, no socket.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/line/device_line.h"

namespace sim {

namespace telnet {
inline constexpr std::uint8_t kIac = 0xFF;
inline constexpr std::uint8_t kDont = 0xFE;
inline constexpr std::uint8_t kDo = 0xFD;
inline constexpr std::uint8_t kWont = 0xFC;
inline constexpr std::uint8_t kWill = 0xFB;
inline constexpr std::uint8_t kSb = 0xFA;
inline constexpr std::uint8_t kSe = 0xF0;
inline constexpr std::uint8_t kBinary = 0;
inline constexpr std::uint8_t kSuppressGoAhead = 3;
inline constexpr std::uint8_t kComPortOption = 44;
}  // namespace telnet

// COM-PORT-OPTION commands from the client; the server answers with the code plus 100.
namespace comport {
inline constexpr std::uint8_t kSignature = 0;
inline constexpr std::uint8_t kSetBaudRate = 1;  // four bytes, network order; 0 asks
inline constexpr std::uint8_t kSetDataSize = 2;  // 5 to 8; 0 asks
inline constexpr std::uint8_t kSetParity = 3;    // 1 none, 2 odd, 3 even, 4 mark, 5 space
inline constexpr std::uint8_t kSetStopSize = 4;  // 1 one, 2 two, 3 one and a half
inline constexpr std::uint8_t kSetControl = 5;
inline constexpr std::uint8_t kFlowControlSuspend = 8;
inline constexpr std::uint8_t kFlowControlResume = 9;
inline constexpr std::uint8_t kPurgeData = 12;
inline constexpr std::uint8_t kServerOffset = 100;
}  // namespace comport

// Line settings the server's port cannot change: it answers a request for one of them with
// the value it keeps (its start value).
struct RefusedSettings {
    bool baud = false;
    bool dataSize = false;
    bool parity = false;
    bool stopSize = false;
};

// The server's port before a client sets anything: a freshly opened port's 38400 baud, which
// no device here speaks, 8 data bits, no parity, 1 stop bit.
inline constexpr LineSeen kServerStartLine{38400, 8, 1, ParitySeen::None};

class ComPortServer {
  public:
    explicit ComPortServer(std::string signature, RefusedSettings refused = {});

    // One byte from the client. Data bytes are appended to data, the server's answers to
    // reply. A PURGE-DATA for the received data sets purgeReceived.
    struct Output {
        std::string data;
        std::string reply;
        bool purgeReceived = false;
    };
    void receive(std::uint8_t byte, Output& out);

    // Data for the client with every 0xFF doubled.
    static std::string Escape(std::string_view data);

    LineSeen line() const { return line_; }
    bool dtr() const { return dtr_; }
    bool rts() const { return rts_; }
    // The next client starts from the server's start state.
    void reset();

  private:
    enum class State { Data, Iac, Option, Sub, SubIac };
    void negotiate(std::uint8_t verb, std::uint8_t option, std::string& reply);
    void subnegotiation(Output& out);
    void setControl(std::uint8_t value, std::string& reply);
    static void Answer(std::uint8_t command, std::string_view value, std::string& reply);

    std::string signature_;
    RefusedSettings refused_;
    State state_ = State::Data;
    std::uint8_t verb_ = 0;
    std::string sub_;
    LineSeen line_ = kServerStartLine;
    bool dtr_ = false;
    bool rts_ = false;
    std::uint8_t flowControl_ = 1;
    // Per option: the client does it (WILL taken) / the server does it (DO taken).
    std::array<bool, 256> clientWill_{};
    std::array<bool, 256> serverWill_{};
};

}  // namespace sim
