#pragma once
// A PLC programmer on a scripted device and virtual time, whose answers come from the input.
#include "common/clock.h"
#include "common/recording_frontend.h"
#include "fuzz_support.h"
#include "link/scripted_device.h"
#include "plc/plc_programmer.h"

namespace fuzz {

struct FuzzedPlc {
    explicit FuzzedPlc(FuzzedDataProvider& input) {
        link.Open("ttyUSB0");
        AnswerFromInput(device, input);
        programmer.state().stationAddress = 0x40;
    }
    common::FakeClock clock;
    serial::ScriptedDevice device{clock};
    common::RecordingFrontend frontend;
    serial::CSerialLink link{device, frontend, serial::Program::QuarnWin};
    plc::CPlcProgrammer programmer{link, clock, frontend};
};

}  // namespace fuzz
