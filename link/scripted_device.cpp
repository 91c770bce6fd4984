#include "link/scripted_device.h"

namespace serial {

ScriptedDevice::ScriptedDevice(common::FakeClock& clock) : clock_(clock) {}

OpenError ScriptedDevice::open(const std::string& path) {
    path_ = path;
    if (openError_ != OpenError::None) return openError_;
    open_ = true;
    return OpenError::None;
}

bool ScriptedDevice::configure(const LineSettings& settings) {
    if (refuseConfigure_) return false;
    settings_ = settings;
    return true;
}

void ScriptedDevice::close() {
    open_ = false;
}

bool ScriptedDevice::write(std::string_view bytes, common::Millis /*timeout*/, WriteEnd /*end*/) {
    if (!open_ || failWrites_) return false;
    std::string data(bytes);
    writes_.push_back(data);
    writeTimes_.push_back(clock_.now());
    if (responder_) {
        std::string answer = responder_(data);
        if (!answer.empty()) feed(answer);
    }
    return true;
}

ReadResult ScriptedDevice::read(common::Millis timeout) {
    common::Millis waited{0};
    while (!incoming_.empty()) {
        Item& item = incoming_.front();
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
        if (!open_) break;
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
    if (!incoming_.empty() && incoming_.back().pause.count() == 0) {
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
