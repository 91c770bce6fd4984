#include "link/socket_device.h"

#include "link/network_read.h"
#include "link/open_sentences.h"
#include "link/port_url.h"

namespace serial {

SocketDevice::SocketDevice(common::Clock& clock) : clock_(clock), connection_(clock) {}

SocketDevice::~SocketDevice() {
    close();
}

bool SocketDevice::isOpen() const {
    return connection_.isOpen();
}

void SocketDevice::close() {
    connection_.close();
    data_.clear();
    gone_ = false;
}

OpenResult SocketDevice::open(const std::string& port) {
    close();
    const ParsedPort parsed = ParsePortUrl(port);
    if (!parsed.ok()) return OpenFailure(OpenError::Malformed, parsed.problem);
    OpenResult connected = connection_.connect(parsed.address.host, parsed.address.port,
                                               TcpConnection::kConnectTimeout, port);
    if (!connected.ok()) return connected;
    // What comes first is either a notice that the port is held, followed by the end of
    // the connection, or stale bytes from the line, which a fresh port does not keep.
    std::string early;
    const common::Millis deadline = clock_.now() + kInUseNoticeWait;
    for (common::Millis left = kInUseNoticeWait; left.count() > 0;
         left = Remaining(clock_, deadline)) {
        TcpConnection::Received received = connection_.receive(left);
        early += received.bytes;
        if (received.status == TcpConnection::IoStatus::TimedOut) break;
        if (received.status == TcpConnection::IoStatus::Gone) {
            close();
            return ServerEndedOpen(port, early);
        }
    }
    return {};
}

SettingsResult SocketDevice::configure(const LineSettings& /*settings*/) {
    if (!isOpen()) return SettingsResult::Refused();
    return {};
}

bool SocketDevice::write(std::string_view bytes, common::Millis timeout, WriteEnd /*end*/) {
    if (!isOpen() || gone_) return false;
    const auto status = connection_.send(bytes, timeout);
    if (status == TcpConnection::IoStatus::Gone) gone_ = true;
    return status == TcpConnection::IoStatus::Done;
}

ReadResult SocketDevice::read(common::Millis timeout) {
    if (!isOpen()) return {ReadStatus::Gone};
    return ReadReceived(clock_, data_, gone_, timeout, [this](common::Millis left) {
        TcpConnection::Received received = connection_.receive(left);
        data_.insert(data_.end(), received.bytes.begin(), received.bytes.end());
        if (received.status == TcpConnection::IoStatus::Gone) gone_ = true;
    });
}

}  // namespace serial
