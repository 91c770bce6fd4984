#include "link/port_router.h"

#include "link/open_sentences.h"
#include "link/port_url.h"
#include "link/rfc2217_device.h"
#include "link/socket_device.h"

namespace serial {

PortRouter::PortRouter(common::Clock& clock) : clock_(clock) {}

PortRouter::~PortRouter() = default;

OpenResult PortRouter::open(const std::string& port) {
    close();
    backend_.reset();
    const ParsedPort parsed = ParsePortUrl(port);
    if (!parsed.ok()) return OpenFailure(OpenError::Malformed, parsed.problem);
    switch (parsed.address.scheme) {
        case PortScheme::Rfc2217:
            backend_ = std::make_unique<Rfc2217Device>(clock_);
            break;
        case PortScheme::Socket:
            backend_ = std::make_unique<SocketDevice>(clock_);
            break;
        case PortScheme::Local:
            backend_ = MakeLocalSerialDevice(clock_);
            break;
    }
    if (negotiationSink_) backend_->watchNegotiation(negotiationSink_);
    return backend_->open(port);
}

SettingsResult PortRouter::configure(const LineSettings& settings) {
    if (!backend_) return SettingsResult::Refused();
    return backend_->configure(settings);
}

void PortRouter::close() {
    if (backend_) backend_->close();
}

bool PortRouter::isOpen() const {
    return backend_ && backend_->isOpen();
}

bool PortRouter::write(std::string_view bytes, common::Millis timeout, WriteEnd end) {
    return backend_ && backend_->write(bytes, timeout, end);
}

ReadResult PortRouter::read(common::Millis timeout) {
    if (!backend_) return {ReadStatus::Gone};
    return backend_->read(timeout);
}

void PortRouter::watchNegotiation(NegotiationSink sink) {
    negotiationSink_ = std::move(sink);
    if (backend_) backend_->watchNegotiation(negotiationSink_);
}

}  // namespace serial
