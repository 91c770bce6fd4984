// The TCP connection's steps that are the same on every platform: the bounded, stoppable name
// lookup and the choice among the addresses it gave.
#include "link/tcp_connection.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "link/network_read.h"
#include "link/open_sentences.h"
#include "link/stop_signals.h"
#include "link/tcp_connection_platform.h"

namespace serial {

namespace tcp {

int RemainingMs(common::Clock& clock, common::Millis deadline) {
    return static_cast<int>(Remaining(clock, deadline).count());
}

}  // namespace tcp

namespace {

// The answer of one lookup, shared with the thread that asks.
struct PendingLookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    tcp::LookupAnswer answer;
};

// Resolves within the deadline: None with the addresses, or NoSuchHost, Unreachable,
// TimedOut or Stopped.
OpenError Resolve(const std::string& host, std::uint16_t port, common::Clock& clock,
                  common::Millis deadline, tcp::LookupAnswer& answer) {
    auto pending = std::make_shared<PendingLookup>();
    std::thread([pending, host, port] {
        tcp::LookupAnswer found = tcp::LookUp(host, port);
        std::lock_guard lock(pending->mutex);
        pending->answer = std::move(found);
        pending->finished = true;
        pending->done.notify_all();
    }).detach();
    std::unique_lock lock(pending->mutex);
    while (!pending->finished) {
        if (StopRequested()) return OpenError::Stopped;
        const int left = tcp::RemainingMs(clock, deadline);
        if (left == 0) return OpenError::TimedOut;
        pending->done.wait_for(lock, std::min(common::Millis{left}, tcp::kStopCheck));
    }
    answer = std::move(pending->answer);
    if (answer.failure == OpenError::None && answer.addresses.empty())
        answer.failure = OpenError::NoSuchHost;
    return answer.failure;
}

}  // namespace

OpenResult TcpConnection::connect(const std::string& host, std::uint16_t port,
                                  common::Millis timeout, const std::string& portName) {
    close();
    if (!tcp::NetworkAvailable())
        return OpenFailure(OpenError::Other, portName + ": the network is not available");
    const common::Millis deadline = clock_.now() + timeout;
    tcp::LookupAnswer answer;
    OpenError reason = Resolve(host, port, clock_, deadline, answer);
    if (reason != OpenError::None)
        return OpenFailure(reason, NetworkOpenSentence(reason, portName, host));
    for (const tcp::Address& address : answer.addresses) {
        const OpenError tried = connectTo(address, deadline);
        if (tried == OpenError::None) return {};
        // The most telling reason wins: a refusal or no route over a generic failure.
        if (reason == OpenError::None || reason == OpenError::Other) reason = tried;
        if (tried == OpenError::Stopped || tried == OpenError::TimedOut) {
            reason = tried;
            break;
        }
    }
    return OpenFailure(reason, NetworkOpenSentence(reason, portName, host));
}

}  // namespace serial
