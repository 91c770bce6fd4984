#pragma once
// A PLC programmer on a scripted device and virtual time, for the unit tests.
#include <gtest/gtest.h>

#include <string>

#include "common/recording_frontend.h"
#include "link/scripted_device.h"
#include "plc/plc_programmer.h"

namespace plc::testing {

// Bytes from a list of values: Bytes({0x68, 0x06}).
inline std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

// An answer telegram as the PLC sends it, with the given data after the command byte.
inline std::string AnswerTelegram(std::uint8_t commandCode, const std::string& data) {
    std::string frame = Bytes({0x68, 0, 0, 0x68, 0xFF, 0x40, 0x04, commandCode});
    frame[1] = frame[2] = static_cast<char>(4 + data.size());
    frame += data;
    unsigned sum = 0;
    for (size_t i = 4; i < frame.size(); ++i) sum += static_cast<unsigned char>(frame[i]);
    frame += static_cast<char>(sum & 0xFF);
    frame += '\x16';
    return frame;
}

inline const std::string kAck = Bytes({0xE5});

struct PlcFixture : ::testing::Test {
    common::FakeClock clock;
    serial::ScriptedDevice device{clock};
    common::RecordingFrontend frontend;
    serial::CSerialLink link{device, frontend, serial::Program::QuarnWin};
    plc::CPlcProgrammer programmer{(link.Open("ttyUSB0"), link), clock, frontend};

    void SetUp() override {
        device.clearWrites();
        programmer.state().stationAddress = 0x40;
    }
    // The command code of a written frame.
    static std::uint8_t CommandOf(const std::string& frame) {
        return static_cast<std::uint8_t>(frame.size() > 7 ? frame[7] : 0);
    }
};

}  // namespace plc::testing
