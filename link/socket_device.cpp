#include "link/socket_device.h"

#include "link/open_sentences.h"
#include "link/port_url.h"

namespace serial {

namespace {

common::Millis Remaining(common::Clock& clock, common::Millis deadline) {
    const common::Millis left = deadline - clock.now();
    return left.count() > 0 ? left : common::Millis{0};
}

std::string Printable(const std::string& text) {
    constexpr size_t kMaxQuotedText = 80;
    std::string out;
    for (char c : text) {
        if (out.size() >= kMaxQuotedText) break;
        if (c >= ' ' && c <= '~') out += c;
    }
    return out;
}

}  // namespace

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
            const std::string notice = Printable(early);
            if (notice.empty())
                return OpenFailure(OpenError::Other, port + " ended the connection at once");
            return OpenFailure(OpenError::Busy, NetworkOpenSentence(OpenError::Busy, port, {}) +
                                                    " (the server said \"" + notice + "\")");
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
    const common::Millis deadline = clock_.now() + timeout;
    for (;;) {
        if (!data_.empty()) {
            const std::uint8_t byte = data_.front();
            data_.pop_front();
            return {ReadStatus::Byte, byte};
        }
        const common::Millis left = Remaining(clock_, deadline);
        if (gone_) {
            clock_.sleep(left);
            return {ReadStatus::Gone};
        }
        if (left.count() == 0) return {};
        TcpConnection::Received received = connection_.receive(left);
        data_.insert(data_.end(), received.bytes.begin(), received.bytes.end());
        if (received.status == TcpConnection::IoStatus::Gone) gone_ = true;
    }
}

}  // namespace serial
