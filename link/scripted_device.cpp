#include "link/scripted_device.h"

#include <algorithm>

#include "link/open_sentences.h"

namespace serial {

ScriptedDevice::ScriptedDevice(common::FakeClock& clock) : clock_(clock) {}

OpenResult ScriptedDevice::open(const std::string& path) {
    path_ = path;
    if (openError_ != OpenError::None)
        return OpenFailure(openError_, PlainOpenSentence(openError_, path));
    open_ = true;
    return {};
}

SettingsResult ScriptedDevice::configure(const LineSettings& settings) {
    if (refuseConfigure_) return SettingsResult::Refused(refusal_);
    settings_ = settings;
    ++configureCount_;
    return {};
}

void ScriptedDevice::close() {
    open_ = false;
}

void ScriptedDevice::modelLineTime(int bitsPerChar, int baud) {
    bitsPerChar_ = bitsPerChar;
    baud_ = baud;
}

common::Micros ScriptedDevice::lineTime(size_t chars) const {
    if (bitsPerChar_ <= 0 || baud_ <= 0) return common::Micros{0};
    return common::Micros{1'000'000LL * bitsPerChar_ * static_cast<long long>(chars) / baud_};
}

void ScriptedDevice::waitUntil(common::Micros at) {
    const common::Micros now = clock_.now();
    if (at <= now) return;
    // The fake clock counts milliseconds: the wait ends at the first one after `at`.
    clock_.advance(std::chrono::ceil<common::Millis>(at - now));
}

bool ScriptedDevice::write(std::string_view bytes, common::Millis /*timeout*/, WriteEnd end) {
    if (!open_ || failWrites_) return false;
    std::string data(bytes);
    writes_.push_back(data);
    writeTimes_.push_back(clock_.now());
    const common::Micros start = std::max<common::Micros>(clock_.now(), lineFreeAt_);
    lineFreeAt_ = start + lineTime(data.size());
    if (end == WriteEnd::Drained) waitUntil(lineFreeAt_);
    if (responder_) {
        std::string answer = responder_(data);
        if (lineTime(1).count() == 0) {
            if (!answer.empty()) feed(answer);
        } else {
            for (size_t i = 0; i < answer.size(); ++i)
                incoming_.push_back(
                    {answer.substr(i, 1), common::Millis{0}, lineFreeAt_ + lineTime(i + 1)});
        }
    }
    return true;
}

ReadResult ScriptedDevice::read(common::Millis timeout) {
    // A port that is not open has nothing to wait for.
    if (!open_) return {ReadStatus::Gone};
    common::Millis waited{0};
    while (!incoming_.empty()) {
        Item& item = incoming_.front();
        if (item.readyAt > common::Micros{clock_.now()}) {
            const common::Micros left = timeout - waited;
            if (item.readyAt - common::Micros{clock_.now()} > left) {
                clock_.advance(timeout - waited);
                return {};
            }
            const common::Millis before = clock_.now();
            waitUntil(item.readyAt);
            waited += clock_.now() - before;
        }
        if (item.pause.count() > 0) {
            common::Millis left = timeout - waited;
            if (item.pause >= left) {
                item.pause -= left;
                clock_.advance(left);
                return {};
            }
            waited += item.pause;
            clock_.advance(item.pause);
            item.pause = common::Millis{0};
        }
        if (item.bytes.empty()) {
            incoming_.pop_front();
            continue;
        }
        auto byte = static_cast<std::uint8_t>(item.bytes.front());
        item.bytes.erase(0, 1);
        if (item.bytes.empty()) incoming_.pop_front();
        return {ReadStatus::Byte, byte};
    }
    clock_.advance(timeout - waited);
    if (hungUp_) return {ReadStatus::Gone};
    return {};
}

void ScriptedDevice::feed(const std::string& bytes) {
    if (!incoming_.empty() && incoming_.back().pause.count() == 0 &&
        incoming_.back().readyAt.count() == 0) {
        incoming_.back().bytes += bytes;
    } else {
        incoming_.push_back({bytes, common::Millis{0}});
    }
}

void ScriptedDevice::feedPause(common::Millis pause) {
    incoming_.push_back({{}, pause});
}

std::string ScriptedDevice::written() const {
    std::string all;
    for (const auto& w : writes_) all += w;
    return all;
}

void ScriptedDevice::clearWrites() {
    writes_.clear();
    writeTimes_.clear();
}

}  // namespace serial
