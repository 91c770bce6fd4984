#include "sim/line/network_line.h"

#include <utility>

namespace sim {

NetworkLine::NetworkLine(TcpServer& server, serial::PortScheme scheme, LineSeen deviceLine,
                         ComPortServer comPort, std::function<void(const std::string&)> note)
    : server_(server),
      scheme_(scheme),
      deviceLine_(deviceLine),
      comPort_(std::move(comPort)),
      note_(std::move(note)) {}

void NetworkLine::clientLeft() {
    comPort_.reset();
    received_.clear();
    if (note_) note_("client left; the port is free");
}

void NetworkLine::take(const std::string& bytes) {
    if (scheme_ == serial::PortScheme::Socket) {
        received_.insert(received_.end(), bytes.begin(), bytes.end());
        return;
    }
    for (char c : bytes) {
        ComPortServer::Output out;
        comPort_.receive(static_cast<std::uint8_t>(c), out);
        if (out.purgeReceived) received_.clear();
        received_.insert(received_.end(), out.data.begin(), out.data.end());
        if (!out.reply.empty() && !server_.send(out.reply)) {
            clientLeft();
            return;
        }
    }
}

std::optional<std::uint8_t> NetworkLine::readByte(common::Millis timeout) {
    if (received_.empty()) {
        std::string bytes;
        switch (server_.wait(timeout, bytes)) {
            case TcpServer::Event::Bytes:
                take(bytes);
                break;
            case TcpServer::Event::ClientCame:
                comPort_.reset();
                received_.clear();
                if (note_) note_("client connected from " + server_.clientName());
                break;
            case TcpServer::Event::ClientLeft:
                clientLeft();
                break;
            case TcpServer::Event::Quiet:
                break;
        }
    }
    if (received_.empty()) return std::nullopt;
    const std::uint8_t byte = received_.front();
    received_.pop_front();
    return byte;
}

bool NetworkLine::write(std::string_view bytes) {
    const bool sent = server_.send(
        scheme_ == serial::PortScheme::Socket ? std::string(bytes) : ComPortServer::Escape(bytes));
    if (!sent && !server_.hasClient()) clientLeft();
    return sent;
}

LineSeen NetworkLine::lineSeen() const {
    return scheme_ == serial::PortScheme::Socket ? deviceLine_ : comPort_.line();
}

std::string ListenUrl(const serial::PortAddress& address) {
    const bool v6 = address.host.find(':') != std::string::npos;
    return std::string(address.scheme == serial::PortScheme::Socket ? "socket://" : "rfc2217://") +
           (v6 ? "[" + address.host + "]" : address.host) + ":" + std::to_string(address.port);
}

}  // namespace sim
