// The receive side of a network port fed with what a device server (or anything listening
// on its address) may send: Telnet commands, option negotiation and COM-PORT-OPTION
// subnegotiations mixed with data. Checks that data sent doubled comes back whole and that
// no subnegotiation grows beyond its bound.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "link/telnet_codec.h"

namespace telnet = serial::telnet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    // Data as this side would send it comes back byte for byte.
    const std::string sent = input.ConsumeRandomLengthString(256);
    telnet::Receiver echo;
    std::string back;
    for (char c : telnet::EscapeData(sent)) {
        auto event = echo.push(static_cast<std::uint8_t>(c));
        if (event && event->kind == telnet::Event::Kind::Data)
            back += static_cast<char>(event->byte);
    }
    if (back != sent) std::abort();

    // Anything at all: every event is well formed and bounded.
    telnet::Receiver receiver;
    const std::string wire = input.ConsumeRemainingBytesAsString();
    size_t dataBytes = 0;
    for (char c : wire) {
        auto event = receiver.push(static_cast<std::uint8_t>(c));
        if (!event) continue;
        if (event->kind == telnet::Event::Kind::Data) ++dataBytes;
        if (event->payload.size() > telnet::Receiver::kMaxPayload) std::abort();
        if (event->kind == telnet::Event::Kind::Subnegotiation &&
            event->option == telnet::kComPortOption && event->payload.size() == 5)
            (void)telnet::BaudFromValue(std::string_view(event->payload).substr(1));
    }
    if (dataBytes > wire.size()) std::abort();
    return 0;
}
