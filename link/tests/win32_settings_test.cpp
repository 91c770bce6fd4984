// The Windows line state and time-outs of each program, built from a port state that an
// earlier program left with flow control and odd framing.
#include "link/win32_settings.h"

#include <gtest/gtest.h>

#include "common/recording_frontend.h"
#include "link/device_path.h"
#include "link/scripted_device.h"
#include "link/serial_link.h"

namespace {
DCB Noisy() {
    DCB d{};
    d.DCBlength = sizeof d;
    d.BaudRate = 115200;
    d.ByteSize = 7;
    d.Parity = ODDPARITY;
    d.StopBits = ONE5STOPBITS;
    d.fOutxCtsFlow = TRUE;
    d.fOutxDsrFlow = TRUE;
    d.fDsrSensitivity = TRUE;
    d.fOutX = TRUE;
    d.fInX = TRUE;
    d.fErrorChar = TRUE;
    d.fNull = TRUE;
    d.fAbortOnError = TRUE;
    d.fDtrControl = DTR_CONTROL_HANDSHAKE;
    d.fRtsControl = RTS_CONTROL_TOGGLE;
    d.XonLim = 123;
    d.XoffLim = 456;
    d.XonChar = 0x21;
    d.XoffChar = 0x22;
    return d;
}

void ExpectNoFlowControlAndLimitsKept(const DCB& d) {
    EXPECT_EQ(d.ByteSize, 8);
    EXPECT_TRUE(d.fBinary);
    EXPECT_TRUE(d.fParity);
    EXPECT_FALSE(d.fOutxCtsFlow);
    EXPECT_FALSE(d.fOutxDsrFlow);
    EXPECT_FALSE(d.fDsrSensitivity);
    EXPECT_FALSE(d.fOutX);
    EXPECT_FALSE(d.fInX);
    EXPECT_TRUE(d.fTXContinueOnXoff);
    EXPECT_FALSE(d.fErrorChar);
    EXPECT_FALSE(d.fNull);
    EXPECT_FALSE(d.fAbortOnError);
    EXPECT_EQ(d.XonLim, 123);
    EXPECT_EQ(d.XoffLim, 456);
    EXPECT_EQ(d.XonChar, 0x21);
    EXPECT_EQ(d.XoffChar, 0x22);
}
}  // namespace

TEST(BuildDcb, PlcLineIs8E1WithDtrAndRtsOff) {
    for (bool fast : {false, true}) {
        DCB d = serial::BuildDcb(Noisy(), serial::SettingsFor(serial::Program::QuarnWin, fast));
        EXPECT_EQ(d.BaudRate, fast ? 19200u : 9600u);
        EXPECT_EQ(d.Parity, EVENPARITY);
        EXPECT_EQ(d.StopBits, ONESTOPBIT);
        EXPECT_EQ(d.fDtrControl, static_cast<DWORD>(DTR_CONTROL_DISABLE));
        EXPECT_EQ(d.fRtsControl, static_cast<DWORD>(RTS_CONTROL_DISABLE));
        ExpectNoFlowControlAndLimitsKept(d);
    }
}

TEST(BuildDcb, DisplayLinesAre8N2WithDtrAndRtsOn) {
    for (auto program : {serial::Program::Skellig, serial::Program::Vantor}) {
        DCB d = serial::BuildDcb(Noisy(), serial::SettingsFor(program));
        EXPECT_EQ(d.BaudRate, 9600u);
        EXPECT_EQ(d.Parity, NOPARITY);
        EXPECT_EQ(d.StopBits, TWOSTOPBITS);
        EXPECT_EQ(d.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
        EXPECT_EQ(d.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));
        ExpectNoFlowControlAndLimitsKept(d);
    }
}

TEST(BuildTimeouts, EachProgramsReadTimeOutAndTheWriteTimeOut) {
    for (auto [program, readTotal] :
         {std::pair{serial::Program::QuarnWin, 2000u}, std::pair{serial::Program::Skellig, 2000u},
          std::pair{serial::Program::Vantor, 3000u}}) {
        auto s = serial::SettingsFor(program);
        COMMTIMEOUTS t = serial::BuildTimeouts(s.readInterval, s.readTotal, s.writeTotal);
        EXPECT_EQ(t.ReadIntervalTimeout, 200u);
        EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 0u);
        EXPECT_EQ(t.ReadTotalTimeoutConstant, readTotal);
        EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 0u);
        EXPECT_EQ(t.WriteTotalTimeoutConstant, 1000u);
    }
}

// COM ports from 10 up exist only in the device namespace; every program opens every port
// there.
TEST(DevicePath, EveryProgramOpensComPortsThroughTheDeviceNamespace) {
    common::FakeClock clock;
    common::RecordingFrontend frontend;
    for (auto program :
         {serial::Program::QuarnWin, serial::Program::Skellig, serial::Program::Vantor}) {
        serial::ScriptedDevice device(clock);
        serial::CSerialLink link(device, frontend, program);
        ASSERT_TRUE(link.Open("com12"));
        EXPECT_EQ(device.openedPath(), "com12");  // the Win32 device adds the prefix
    }
    EXPECT_EQ(serial::DevicePathFor("com12"), "\\\\.\\com12");
    EXPECT_EQ(serial::DevicePathFor("com5"), "\\\\.\\com5");
    EXPECT_EQ(serial::DevicePathFor("\\\\.\\COM3"), "\\\\.\\COM3");
}
