#include "link/rfc2217_device.h"

#include "link/network_read.h"
#include "link/open_sentences.h"
#include "link/port_url.h"
#include "link/stop_signals.h"

namespace serial {

namespace {

using namespace telnet;

// How long one wait during the negotiation runs before it looks at a stop request.
constexpr common::Millis kStopCheck{100};

std::uint8_t ParityCode(Parity parity) {
    return parity == Parity::Even ? kParityEven : kParityNone;
}

std::string ParityName(std::uint8_t code) {
    switch (code) {
        case kParityNone:
            return "none";
        case kParityOdd:
            return "odd";
        case kParityEven:
            return "even";
        default:
            return "code " + std::to_string(code);
    }
}

std::string StopsizeName(std::uint8_t code) {
    constexpr std::uint8_t kStopsizeOneAndHalf = 3;
    if (code == kStopsizeOne) return "1";
    if (code == kStopsizeTwo) return "2";
    if (code == kStopsizeOneAndHalf) return "1.5";
    return "code " + std::to_string(code);
}

bool WeOffer(std::uint8_t option) {
    return option == kBinary || option == kSuppressGoAhead || option == kComPortOption;
}

bool WeAccept(std::uint8_t option) {
    return option == kBinary || option == kSuppressGoAhead;
}

}  // namespace

Rfc2217Device::Rfc2217Device(common::Clock& clock) : clock_(clock), connection_(clock) {}

Rfc2217Device::~Rfc2217Device() {
    close();
}

bool Rfc2217Device::isOpen() const {
    return connection_.isOpen();
}

void Rfc2217Device::close() {
    connection_.close();
    receiver_ = Receiver{};
    data_.clear();
    gone_ = false;
    comPortAccepted_.reset();
    confirmed_ = {};
    willSent_.reset();
    wontSent_.reset();
    doSent_.reset();
    dontSent_.reset();
}

OpenResult Rfc2217Device::failOpen(OpenError reason, std::string sentence) {
    close();
    return OpenFailure(reason, std::move(sentence));
}

OpenResult Rfc2217Device::open(const std::string& port) {
    close();
    portName_ = port;
    const ParsedPort parsed = ParsePortUrl(port);
    if (!parsed.ok()) return OpenFailure(OpenError::Malformed, parsed.problem);
    OpenResult connected = connection_.connect(parsed.address.host, parsed.address.port,
                                               TcpConnection::kConnectTimeout, port);
    if (!connected.ok()) return connected;

    // BINARY both ways, so every byte value is data, and the option that sets the line.
    willSent_.set(kBinary);
    doSent_.set(kBinary);
    willSent_.set(kComPortOption);
    if (!sendNegotiation(OptionCommand(kWill, kBinary) + OptionCommand(kDo, kBinary) +
                         OptionCommand(kWill, kComPortOption)))
        return failOpen(OpenError::Other, port + " ended the connection at once");

    // Then the speed the server's line has now (value 0 asks without changing it): the
    // server that answers it serves the port. One that holds the port for another client
    // says so in a text and closes the connection instead.
    const common::Millis deadline = clock_.now() + kConfirmTimeout;
    bool asked = false;
    while (!confirmed_.baud) {
        if (comPortAccepted_ && !*comPortAccepted_)
            return failOpen(OpenError::Other,
                            port +
                                " does not let this program set the line (no RFC 2217 "
                                "COM-PORT-OPTION): set the device server's port up for "
                                "rfc2217, or use socket:// with the line set on the server");
        if (comPortAccepted_ && !asked) {
            asked = true;
            if (!sendNegotiation(SetBaudrate(0))) break;
        }
        if (StopRequested())
            return failOpen(OpenError::Stopped, NetworkOpenSentence(OpenError::Stopped, port, {}));
        const common::Millis left = Remaining(clock_, deadline);
        if (left.count() == 0)
            return failOpen(OpenError::TimedOut,
                            port +
                                " did not finish the Telnet negotiation in time: is it an "
                                "RFC 2217 port of the device server?");
        if (!pump(std::min(left, kStopCheck))) break;
    }
    if (gone_ || !confirmed_.baud) {
        const std::string text(data_.begin(), data_.end());
        close();
        return ServerEndedOpen(port, text);
    }
    // A freshly opened port starts with empty buffers, as a local one does.
    data_.clear();
    return {};
}

SettingsResult Rfc2217Device::configure(const LineSettings& settings) {
    if (!isOpen() || gone_) return SettingsResult::Refused(portName_ + " is not connected");
    confirmed_ = {};
    const std::uint8_t parity = ParityCode(settings.parity);
    const std::uint8_t stopsize = settings.stopBits == 2 ? kStopsizeTwo : kStopsizeOne;
    const std::string request =
        SetBaudrate(static_cast<std::uint32_t>(settings.baud)) +
        ComPortByte(kSetDatasize, static_cast<std::uint8_t>(settings.dataBits)) +
        ComPortByte(kSetParity, parity) + ComPortByte(kSetStopsize, stopsize) +
        ComPortByte(kSetControl, kControlNoFlow) +
        ComPortByte(kSetControl, settings.dtrOn ? kControlDtrOn : kControlDtrOff) +
        ComPortByte(kSetControl, settings.rtsOn ? kControlRtsOn : kControlRtsOff);
    if (!sendNegotiation(request))
        return SettingsResult::Refused("the connection to " + portName_ + " ended");
    // The data bytes wait until speed, data size, parity and stop size are confirmed. DTR and
    // RTS are not waited for: servers on a line without modem lines never answer them.
    const common::Millis deadline = clock_.now() + kConfirmTimeout;
    while (!(confirmed_.baud && confirmed_.datasize && confirmed_.parity && confirmed_.stopsize)) {
        const common::Millis left = Remaining(clock_, deadline);
        if (left.count() == 0 || !pump(left)) {
            std::string missing;
            if (!confirmed_.baud) missing += " speed";
            if (!confirmed_.datasize) missing += " data size";
            if (!confirmed_.parity) missing += " parity";
            if (!confirmed_.stopsize) missing += " stop size";
            return SettingsResult::Refused(portName_ +
                                           (gone_ ? " ended the connection" : " did not confirm") +
                                           " before confirming the line's" + missing);
        }
    }
    const std::string server = "The device server of " + portName_;
    if (*confirmed_.baud != static_cast<std::uint32_t>(settings.baud))
        return SettingsResult::Refused(server + " set the speed to " +
                                       std::to_string(*confirmed_.baud) + " baud where " +
                                       std::to_string(settings.baud) + " was asked");
    if (*confirmed_.datasize != settings.dataBits)
        return SettingsResult::Refused(server + " set " + std::to_string(*confirmed_.datasize) +
                                       " data bits where " + std::to_string(settings.dataBits) +
                                       " were asked");
    if (*confirmed_.parity != parity)
        return SettingsResult::Refused(server + " set the parity " +
                                       ParityName(*confirmed_.parity) + " where " +
                                       ParityName(parity) + " was asked");
    if (*confirmed_.stopsize != stopsize)
        return SettingsResult::Refused(server + " set " + StopsizeName(*confirmed_.stopsize) +
                                       " stop bits where " + StopsizeName(stopsize) +
                                       " were asked");
    return {};
}

bool Rfc2217Device::write(std::string_view bytes, common::Millis timeout, WriteEnd /*end*/) {
    if (!isOpen() || gone_) return false;
    const auto status = connection_.send(EscapeData(bytes), timeout);
    if (status == TcpConnection::IoStatus::Gone) gone_ = true;
    return status == TcpConnection::IoStatus::Done;
}

ReadResult Rfc2217Device::read(common::Millis timeout) {
    if (!isOpen()) return {ReadStatus::Gone};
    return ReadReceived(clock_, data_, gone_, timeout, [this](common::Millis left) { pump(left); });
}

bool Rfc2217Device::pump(common::Millis timeout) {
    if (gone_) return false;
    TcpConnection::Received received = connection_.receive(timeout);
    for (char c : received.bytes) {
        if (auto event = receiver_.push(static_cast<std::uint8_t>(c))) handle(*event);
    }
    if (received.status == TcpConnection::IoStatus::Gone) gone_ = true;
    return !gone_;
}

void Rfc2217Device::handle(const Event& event) {
    switch (event.kind) {
        case Event::Kind::Data:
            data_.push_back(event.byte);
            return;
        case Event::Kind::Option:
            if (sink_) sink_(false, OptionCommand(event.byte, event.option));
            answerOption(event.byte, event.option);
            return;
        case Event::Kind::Subnegotiation:
            if (sink_) {
                std::string raw{static_cast<char>(kIac), static_cast<char>(kSb),
                                static_cast<char>(event.option)};
                raw += EscapeData(event.payload);
                raw += static_cast<char>(kIac);
                raw += static_cast<char>(kSe);
                sink_(false, raw);
            }
            if (event.option == kComPortOption) handleComPort(event.payload);
            return;
    }
}

void Rfc2217Device::answerOption(std::uint8_t verb, std::uint8_t option) {
    // Each request is answered once; an answer to our own offer is only noted.
    if (option == kComPortOption && (verb == kDo || verb == kDont)) comPortAccepted_ = verb == kDo;
    if (verb == kDo) {
        if (WeOffer(option) && !willSent_[option]) {
            willSent_.set(option);
            sendNegotiation(OptionCommand(kWill, option));
        } else if (!WeOffer(option) && !wontSent_[option]) {
            wontSent_.set(option);
            sendNegotiation(OptionCommand(kWont, option));
        }
    } else if (verb == kWill) {
        if (WeAccept(option) && !doSent_[option]) {
            doSent_.set(option);
            sendNegotiation(OptionCommand(kDo, option));
        } else if (!WeAccept(option) && !dontSent_[option]) {
            dontSent_.set(option);
            sendNegotiation(OptionCommand(kDont, option));
        }
    }
}

void Rfc2217Device::handleComPort(const std::string& payload) {
    if (payload.empty()) return;
    const auto code = static_cast<std::uint8_t>(payload[0]);
    const std::string value = payload.substr(1);
    if (code == kServerReply + kSetBaudrate && value.size() == 4) {
        confirmed_.baud = BaudFromValue(value);
    } else if (value.size() == 1) {
        const auto byte = static_cast<std::uint8_t>(value[0]);
        if (code == kServerReply + kSetDatasize) confirmed_.datasize = byte;
        if (code == kServerReply + kSetParity) confirmed_.parity = byte;
        if (code == kServerReply + kSetStopsize) confirmed_.stopsize = byte;
    }
    // Line and modem state notices and the answers to CONTROL need nothing here.
}

bool Rfc2217Device::sendNegotiation(const std::string& bytes) {
    if (sink_) sink_(true, bytes);
    const auto status = connection_.send(bytes, kConfirmTimeout);
    if (status == TcpConnection::IoStatus::Gone) gone_ = true;
    return status == TcpConnection::IoStatus::Done;
}

}  // namespace serial
