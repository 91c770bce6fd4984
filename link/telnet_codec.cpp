#include "link/telnet_codec.h"

namespace serial::telnet {

namespace {

std::string EscapedByte(std::uint8_t byte) {
    return byte == kIac ? std::string(2, static_cast<char>(kIac))
                        : std::string(1, static_cast<char>(byte));
}

}  // namespace

std::string EscapeData(std::string_view data) {
    std::string out;
    out.reserve(data.size());
    for (char c : data) out += EscapedByte(static_cast<std::uint8_t>(c));
    return out;
}

std::string OptionCommand(std::uint8_t verb, std::uint8_t option) {
    return {static_cast<char>(kIac), static_cast<char>(verb), static_cast<char>(option)};
}

std::string ComPortCommand(std::uint8_t command, std::string_view value) {
    std::string out{static_cast<char>(kIac), static_cast<char>(kSb),
                    static_cast<char>(kComPortOption), static_cast<char>(command)};
    out += EscapeData(value);
    out += static_cast<char>(kIac);
    out += static_cast<char>(kSe);
    return out;
}

std::string SetBaudrate(std::uint32_t baud) {
    constexpr int kByteBits = 8;
    std::string value;
    for (int shift = 3 * kByteBits; shift >= 0; shift -= kByteBits)
        value += static_cast<char>((baud >> shift) & 0xFFU);
    return ComPortCommand(kSetBaudrate, value);
}

std::string ComPortByte(std::uint8_t command, std::uint8_t value) {
    return ComPortCommand(command, std::string(1, static_cast<char>(value)));
}

std::uint32_t BaudFromValue(std::string_view value) {
    constexpr int kByteBits = 8;
    std::uint32_t baud = 0;
    for (char c : value) baud = (baud << kByteBits) | static_cast<std::uint8_t>(c);
    return baud;
}

std::optional<Event> Receiver::push(std::uint8_t byte) {
    switch (state_) {
        case State::Data:
            if (byte == kIac) {
                state_ = State::Command;
                return std::nullopt;
            }
            return Event{Event::Kind::Data, byte, 0, {}};
        case State::Command:
            if (byte == kIac) {  // a doubled 0xFF is one data byte
                state_ = State::Data;
                return Event{Event::Kind::Data, kIac, 0, {}};
            }
            if (byte == kWill || byte == kWont || byte == kDo || byte == kDont) {
                verb_ = byte;
                state_ = State::Option;
            } else if (byte == kSb) {
                state_ = State::SubOption;
            } else {
                state_ = State::Data;  // NOP, GA and the other two-byte commands mean nothing here
            }
            return std::nullopt;
        case State::Option:
            state_ = State::Data;
            return Event{Event::Kind::Option, verb_, byte, {}};
        case State::SubOption:
            sub_ = Event{Event::Kind::Subnegotiation, 0, byte, {}};
            state_ = State::SubData;
            return std::nullopt;
        case State::SubData:
            if (byte == kIac) {
                state_ = State::SubCommand;
            } else if (sub_.payload.size() < kMaxPayload) {
                sub_.payload += static_cast<char>(byte);
            }
            return std::nullopt;
        case State::SubCommand:
            if (byte == kIac) {
                if (sub_.payload.size() < kMaxPayload) sub_.payload += static_cast<char>(kIac);
                state_ = State::SubData;
                return std::nullopt;
            }
            // IAC SE ends it; any other command ends it as well and is then taken as the
            // command it is (it completes no event by itself: it only changes the state).
            state_ = State::Data;
            if (byte != kSe) {
                Event ended = std::move(sub_);
                state_ = State::Command;
                push(byte);
                return ended;
            }
            return std::move(sub_);
    }
    return std::nullopt;
}

}  // namespace serial::telnet
