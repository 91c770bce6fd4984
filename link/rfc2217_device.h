#pragma once
// A serial line on a device server, reached as rfc2217://HOST:PORT: Telnet with the
// COM-PORT-OPTION, so this side sets the server's line (speed, framing, no flow control,
// DTR and RTS) as it would set a local port, and every setting the server confirms is
// checked before the first data byte.
#include <bitset>
#include <deque>
#include <optional>

#include "link/serial_device.h"
#include "link/tcp_connection.h"
#include "link/telnet_codec.h"

namespace serial {

class Rfc2217Device final : public SerialDevice {
  public:
    // How long the server has for the Telnet negotiation and for confirming line settings.
    static constexpr common::Millis kConfirmTimeout{5000};

    explicit Rfc2217Device(common::Clock& clock);
    ~Rfc2217Device() override;
    Rfc2217Device(const Rfc2217Device&) = delete;
    Rfc2217Device& operator=(const Rfc2217Device&) = delete;

    OpenResult open(const std::string& port) override;
    SettingsResult configure(const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    bool write(std::string_view bytes, common::Millis timeout, WriteEnd end) override;
    ReadResult read(common::Millis timeout) override;
    void watchNegotiation(NegotiationSink sink) override { sink_ = std::move(sink); }

  private:
    // What the server has confirmed of the line, from its replies.
    struct Confirmed {
        std::optional<std::uint32_t> baud;
        std::optional<std::uint8_t> datasize;
        std::optional<std::uint8_t> parity;
        std::optional<std::uint8_t> stopsize;
    };
    // Receives once, within `timeout`; false once the connection has ended.
    bool pump(common::Millis timeout);
    void handle(const telnet::Event& event);
    void answerOption(std::uint8_t verb, std::uint8_t option);
    void handleComPort(const std::string& payload);
    bool sendNegotiation(const std::string& bytes);
    OpenResult failOpen(OpenError reason, std::string sentence);

    common::Clock& clock_;
    TcpConnection connection_;
    telnet::Receiver receiver_;
    NegotiationSink sink_;
    std::string portName_;
    std::deque<std::uint8_t> data_;
    bool gone_ = false;
    // The server's answer to the COM-PORT-OPTION: nullopt until it said DO or DONT.
    std::optional<bool> comPortAccepted_;
    Confirmed confirmed_;
    std::bitset<256> willSent_, wontSent_, doSent_, dontSent_;
};

}  // namespace serial
