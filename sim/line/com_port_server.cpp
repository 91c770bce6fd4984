#include "sim/line/com_port_server.h"

#include <utility>

namespace sim {

namespace {

// SET-CONTROL values.
constexpr std::uint8_t kControlAskFlow = 0;
constexpr std::uint8_t kControlAskBreak = 4;
constexpr std::uint8_t kControlBreakOff = 6;
constexpr std::uint8_t kControlAskDtr = 7;
constexpr std::uint8_t kControlDtrOn = 8;
constexpr std::uint8_t kControlDtrOff = 9;
constexpr std::uint8_t kControlAskRts = 10;
constexpr std::uint8_t kControlRtsOn = 11;
constexpr std::uint8_t kControlRtsOff = 12;
constexpr std::uint8_t kControlLastOutboundFlow = 3;

// PURGE-DATA values that include the server's receive buffer.
constexpr std::uint8_t kPurgeReceive = 1;
constexpr std::uint8_t kPurgeBoth = 3;

bool Supported(std::uint8_t option) {
    return option == telnet::kBinary || option == telnet::kSuppressGoAhead ||
           option == telnet::kComPortOption;
}

std::uint8_t ParityCode(ParitySeen parity) {
    switch (parity) {
        case ParitySeen::Odd:
            return 2;
        case ParitySeen::Even:
            return 3;
        case ParitySeen::Mark:
            return 4;
        case ParitySeen::Space:
            return 5;
        case ParitySeen::None:
        case ParitySeen::NotVisible:
            break;
    }
    return 1;
}

ParitySeen ParityOf(std::uint8_t code) {
    constexpr ParitySeen kByCode[] = {ParitySeen::None, ParitySeen::None, ParitySeen::Odd,
                                      ParitySeen::Even, ParitySeen::Mark, ParitySeen::Space};
    return code < std::size(kByCode) ? kByCode[code] : ParitySeen::None;
}

std::uint8_t StopCode(int stopBits) {
    return stopBits == 1 ? 1 : stopBits == 2 ? 2 : 3;
}

}  // namespace

ComPortServer::ComPortServer(std::string signature, RefusedSettings refused)
    : signature_(std::move(signature)), refused_(refused) {}

void ComPortServer::reset() {
    state_ = State::Data;
    sub_.clear();
    line_ = kServerStartLine;
    dtr_ = rts_ = false;
    flowControl_ = 1;
    clientWill_.fill(false);
    serverWill_.fill(false);
}

std::string ComPortServer::Escape(std::string_view data) {
    std::string out;
    out.reserve(data.size());
    for (char c : data) {
        out += c;
        if (static_cast<std::uint8_t>(c) == telnet::kIac) out += c;
    }
    return out;
}

void ComPortServer::Answer(std::uint8_t command, std::string_view value, std::string& reply) {
    reply += static_cast<char>(telnet::kIac);
    reply += static_cast<char>(telnet::kSb);
    reply += static_cast<char>(telnet::kComPortOption);
    reply += static_cast<char>(command + comport::kServerOffset);
    reply += Escape(value);
    reply += static_cast<char>(telnet::kIac);
    reply += static_cast<char>(telnet::kSe);
}

void ComPortServer::receive(std::uint8_t byte, Output& out) {
    switch (state_) {
        case State::Data:
            if (byte == telnet::kIac)
                state_ = State::Iac;
            else
                out.data += static_cast<char>(byte);
            return;
        case State::Iac:
            if (byte == telnet::kIac) {
                out.data += static_cast<char>(byte);
                state_ = State::Data;
            } else if (byte == telnet::kWill || byte == telnet::kWont || byte == telnet::kDo ||
                       byte == telnet::kDont) {
                verb_ = byte;
                state_ = State::Option;
            } else if (byte == telnet::kSb) {
                sub_.clear();
                state_ = State::Sub;
            } else {
                state_ = State::Data;  // NOP, go-ahead and the like carry nothing here
            }
            return;
        case State::Option:
            negotiate(verb_, byte, out.reply);
            state_ = State::Data;
            return;
        case State::Sub:
            if (byte == telnet::kIac)
                state_ = State::SubIac;
            else
                sub_ += static_cast<char>(byte);
            return;
        case State::SubIac:
            if (byte == telnet::kIac) {
                sub_ += static_cast<char>(byte);
                state_ = State::Sub;
                return;
            }
            // SE ends the subnegotiation; any other command cuts it short and is dropped.
            if (byte == telnet::kSe) subnegotiation(out);
            state_ = State::Data;
            return;
    }
}

void ComPortServer::negotiate(std::uint8_t verb, std::uint8_t option, std::string& reply) {
    auto send = [&reply, option](std::uint8_t answer) {
        reply += static_cast<char>(telnet::kIac);
        reply += static_cast<char>(answer);
        reply += static_cast<char>(option);
    };
    // Only a change of state is answered, so two ends never loop on an option.
    switch (verb) {
        case telnet::kWill:
            if (!Supported(option)) {
                send(telnet::kDont);
            } else if (!clientWill_[option]) {
                clientWill_[option] = true;
                send(telnet::kDo);
            }
            break;
        case telnet::kWont:
            if (clientWill_[option]) {
                clientWill_[option] = false;
                send(telnet::kDont);
            }
            break;
        case telnet::kDo:
            if (!Supported(option)) {
                send(telnet::kWont);
            } else if (!serverWill_[option]) {
                serverWill_[option] = true;
                send(telnet::kWill);
            }
            break;
        case telnet::kDont:
            if (serverWill_[option]) {
                serverWill_[option] = false;
                send(telnet::kWont);
            }
            break;
        default:
            break;
    }
}

void ComPortServer::subnegotiation(Output& out) {
    if (sub_.size() < 2 || static_cast<std::uint8_t>(sub_[0]) != telnet::kComPortOption) return;
    const auto command = static_cast<std::uint8_t>(sub_[1]);
    const std::string_view value = std::string_view(sub_).substr(2);
    const std::uint8_t first = value.empty() ? 0 : static_cast<std::uint8_t>(value[0]);
    switch (command) {
        case comport::kSignature:
            // The client's own signature is only taken note of; an empty one asks for ours.
            if (value.empty()) Answer(command, signature_, out.reply);
            return;
        case comport::kSetBaudRate: {
            if (value.size() != 4) return;
            std::uint32_t baud = 0;
            for (char c : value) baud = (baud << 8) | static_cast<std::uint8_t>(c);
            if (baud != 0 && !refused_.baud) line_.baud = static_cast<int>(baud);
            const auto taken = static_cast<std::uint32_t>(line_.baud);
            const char bytes[4] = {static_cast<char>(taken >> 24), static_cast<char>(taken >> 16),
                                   static_cast<char>(taken >> 8), static_cast<char>(taken)};
            Answer(command, std::string_view(bytes, 4), out.reply);
            return;
        }
        case comport::kSetDataSize:
            if (first >= 5 && first <= 8 && !refused_.dataSize) line_.dataBits = first;
            Answer(command, std::string(1, static_cast<char>(line_.dataBits)), out.reply);
            return;
        case comport::kSetParity:
            if (first >= 1 && first <= 5 && !refused_.parity) line_.parity = ParityOf(first);
            Answer(command, std::string(1, static_cast<char>(ParityCode(line_.parity))), out.reply);
            return;
        case comport::kSetStopSize:
            if (first >= 1 && first <= 3 && !refused_.stopSize)
                line_.stopBits = first == 3 ? 0 : first;
            Answer(command, std::string(1, static_cast<char>(StopCode(line_.stopBits))), out.reply);
            return;
        case comport::kSetControl:
            setControl(first, out.reply);
            return;
        case comport::kFlowControlSuspend:
        case comport::kFlowControlResume:
            Answer(command, {}, out.reply);
            return;
        case comport::kPurgeData:
            if (first == kPurgeReceive || first == kPurgeBoth) out.purgeReceived = true;
            Answer(command, value.substr(0, 1), out.reply);
            return;
        default:
            // Notification masks and the rest: confirmed with the value asked.
            if (command < comport::kServerOffset) Answer(command, value, out.reply);
            return;
    }
}

void ComPortServer::setControl(std::uint8_t value, std::string& reply) {
    std::uint8_t taken = value;
    switch (value) {
        case kControlAskFlow:
            taken = flowControl_;
            break;
        case kControlAskBreak:
            taken = kControlBreakOff;
            break;
        case kControlAskDtr:
            taken = dtr_ ? kControlDtrOn : kControlDtrOff;
            break;
        case kControlDtrOn:
        case kControlDtrOff:
            dtr_ = value == kControlDtrOn;
            break;
        case kControlAskRts:
            taken = rts_ ? kControlRtsOn : kControlRtsOff;
            break;
        case kControlRtsOn:
        case kControlRtsOff:
            rts_ = value == kControlRtsOn;
            break;
        default:
            if (value >= 1 && value <= kControlLastOutboundFlow) flowControl_ = value;
            break;
    }
    Answer(comport::kSetControl, std::string(1, static_cast<char>(taken)), reply);
}

}  // namespace sim
