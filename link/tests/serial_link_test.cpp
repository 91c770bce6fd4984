#include "link/serial_link.h"

#include <gtest/gtest.h>

#include "common/recording_frontend.h"
#include "link/device_path.h"
#include "link/open_sentences.h"
#include "link/scripted_device.h"
#include "link/stop_signals.h"

using common::Millis;

namespace {
struct LinkFixture : ::testing::Test {
    common::FakeClock clock;
    serial::ScriptedDevice device{clock};
    common::RecordingFrontend frontend;
};
struct SetupLink : LinkFixture {
    serial::CSerialLink link{device, frontend, serial::Program::Skellig};
    void SetUp() override { ASSERT_TRUE(link.Open("ttyUSB0")); }
};
struct ProtocolLink : LinkFixture {
    serial::CSerialLink link{device, frontend, serial::Program::Vantor};
    void SetUp() override { ASSERT_TRUE(link.Open("ttyUSB0")); }
};
}  // namespace

TEST_F(LinkFixture, OpensWithEachProgramsLineSettings) {
    serial::CSerialLink plc(device, frontend, serial::Program::QuarnWin);
    ASSERT_TRUE(plc.Open("ttyUSB0"));
    EXPECT_EQ(device.openedPath(), "ttyUSB0");  // the device forms its own path
    EXPECT_EQ(device.settings().baud, 9600);
    EXPECT_EQ(device.settings().parity, serial::Parity::Even);
    EXPECT_EQ(device.settings().stopBits, 1);
    EXPECT_FALSE(device.settings().dtrOn);
    ASSERT_TRUE(plc.Open("/tmp/plc-link", true));
    EXPECT_EQ(device.openedPath(), "/tmp/plc-link");
    EXPECT_EQ(device.settings().baud, 19200);

    serial::CSerialLink display(device, frontend, serial::Program::Vantor);
    ASSERT_TRUE(display.Open("ttyUSB1"));
    EXPECT_EQ(device.settings().baud, 9600);
    EXPECT_EQ(device.settings().parity, serial::Parity::None);
    EXPECT_EQ(device.settings().stopBits, 2);
    EXPECT_TRUE(device.settings().dtrOn);
    EXPECT_TRUE(device.settings().rtsOn);
    EXPECT_EQ(device.settings().readTotal, Millis(3000));
    EXPECT_TRUE(frontend.calls().empty());
}

TEST_F(LinkFixture, OpenFailuresAreReportedAsTheyShouldBe) {
    serial::CSerialLink plc(device, frontend, serial::Program::QuarnWin);
    device.failOpen(serial::OpenError::Busy);
    EXPECT_FALSE(plc.Open("ttyUSB0"));
    EXPECT_FALSE(plc.IsOpen());
    EXPECT_EQ(plc.LastOpenError(), serial::OpenError::Busy);
    EXPECT_TRUE(frontend.calls().empty());  // nothing is shown for a port that can't be opened

    device.failOpen(serial::OpenError::None);
    device.refuseConfigure(true);
    EXPECT_FALSE(plc.Open("ttyUSB0"));
    EXPECT_TRUE(plc.IsOpen());  // the handle is kept until Close
    EXPECT_EQ(frontend.texts("message"),
              std::vector<std::string>{"Unable to configure the serial port"});
    plc.Close();
    EXPECT_FALSE(plc.IsOpen());
}

TEST_F(LinkFixture, WritesAllBytesAndRecordsThem) {
    serial::CSerialLink plc(device, frontend, serial::Program::QuarnWin);
    // A closed link fails its writes.
    EXPECT_FALSE(plc.Write("x"));
    ASSERT_TRUE(plc.Open("ttyUSB0"));
    const std::string withZeros("\x68\x00\x00\x16", 4);
    EXPECT_TRUE(plc.Write(withZeros));
    EXPECT_EQ(device.written(), withZeros);
    device.failWrites(true);
    EXPECT_FALSE(plc.Write("ab"));
    ASSERT_EQ(plc.TransmitRecord().size(), 3u);
    EXPECT_EQ(plc.TransmitRecord()[0], "!> Error:x");
    EXPECT_EQ(plc.TransmitRecord()[1], ">" + withZeros);
    EXPECT_EQ(plc.TransmitRecord()[2], "!> Error:ab");
    device.failWrites(false);
    for (size_t i = 0; i < serial::CSerialLink::kTransmitRecordCap + 10; ++i) plc.Write("y");
    EXPECT_EQ(plc.TransmitRecord().size(), serial::CSerialLink::kTransmitRecordCap);
}

TEST_F(SetupLink, ChecksumModeTakesEarlyCarriageReturnsAsData) {
    std::string answer;
    device.feed("\x4D\x0D\x01\x0D");
    EXPECT_TRUE(link.ReadAnswer(answer, true));
    EXPECT_EQ(answer, "\x4D\x0D\x01");
    // A carriage return after the fourth byte no longer ends the answer: silence does.
    device.feed("M\x01\x02X\r");
    EXPECT_FALSE(link.ReadAnswer(answer, true));
    EXPECT_EQ(answer, "M\x01\x02X\r");
}

TEST_F(SetupLink, PlainModeEndsAtCarriageReturnAndSilenceKeepsWhatCame) {
    std::string answer = "old";
    device.feed("A\r");
    EXPECT_TRUE(link.ReadAnswer(answer, false));
    EXPECT_EQ(answer, "A");
    device.feed("A");
    Millis before = clock.now();
    EXPECT_FALSE(link.ReadAnswer(answer, false));
    EXPECT_EQ(answer, "A");
    EXPECT_EQ(clock.now() - before, Millis(2000));
}

TEST_F(ProtocolLink, LinesKeepTheirLineFeedAndSilenceEndsAfterThreeSeconds) {
    std::string line;
    device.feed("abc\n");
    device.feed("de");
    device.feedPause(Millis(3500));
    device.feed("f\r\n");
    EXPECT_TRUE(link.ReadLine(line));
    EXPECT_EQ(line, "abc\n");
    Millis before = clock.now();
    EXPECT_FALSE(link.ReadLine(line));
    EXPECT_EQ(line, "de");
    EXPECT_EQ(clock.now() - before, Millis(3000));
    // The rest of the pause passes, then the bytes after it arrive.
    EXPECT_TRUE(link.ReadLine(line));
    EXPECT_EQ(line, "f\r\n");
}

#ifndef _WIN32
TEST(DevicePath, BareNamesLiveUnderDev) {
    EXPECT_EQ(serial::DevicePathFor("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(serial::DevicePathFor("./sim/plc"), "./sim/plc");
}
#endif

TEST_F(ProtocolLink, ADeviceThatNeverStopsSendingEndsTheRead) {
    std::string line;
    device.respond(nullptr);
    device.feed(std::string(serial::CSerialLink::kMaxLineLength + 10, 'x'));
    EXPECT_FALSE(link.ReadLine(line));
    EXPECT_EQ(line.size(), serial::CSerialLink::kMaxLineLength);

    std::string answer;
    device.feed(std::string(serial::CSerialLink::kMaxAnswerLength + 10, 'M'));
    EXPECT_FALSE(link.ReadAnswer(answer, true));
    EXPECT_EQ(answer.size(), serial::CSerialLink::kMaxAnswerLength);
}

TEST_F(ProtocolLink, AStopRequestOrAClosedPortEndsAReadAtOnceAndNotAsSilence) {
    std::string line;
    device.feed("ab");
    serial::RequestStop(serial::kTerminateSignal);
    Millis before = clock.now();
    // Taken for silence, a cut answer would pass for a complete one.
    EXPECT_EQ(link.ReadLineEnd(line), serial::CSerialLink::LineEnd::Gone);
    EXPECT_FALSE(link.ReadByte());
    link.FollowStopRequests(false);
    EXPECT_EQ(link.ReadByte(), 'a');
    serial::ClearStopRequest();
    link.Close();
    EXPECT_FALSE(link.ReadByte());
    EXPECT_EQ(link.ReadLineEnd(line), serial::CSerialLink::LineEnd::Gone);
    EXPECT_EQ(clock.now(), before);
}

TEST_F(LinkFixture, SpeedChangeKeepsThePortOpenAndFailuresExplainThemselves) {
    serial::CSerialLink plc(device, frontend, serial::Program::QuarnWin);
    EXPECT_FALSE(plc.ChangeSpeed(true));  // nothing open to change
    ASSERT_TRUE(plc.Open("ttyUSB0"));
    ASSERT_TRUE(plc.ChangeSpeed(true));
    EXPECT_TRUE(plc.IsOpen());
    EXPECT_EQ(device.settings().baud, 19200);
    EXPECT_EQ(device.configureCount(), 2);
    EXPECT_EQ(plc.OpenFailureText(), "");

    device.refuseConfigure(true, "the server set the parity none where even was asked");
    EXPECT_FALSE(plc.ChangeSpeed(false));
    EXPECT_EQ(plc.OpenFailureText(), "the server set the parity none where even was asked");
    EXPECT_EQ(frontend.texts("message"),
              std::vector<std::string>{"Unable to configure the serial port"});

    plc.Close();
    device.failOpen(serial::OpenError::Absent);
    EXPECT_FALSE(plc.Open("/tmp/plc-link"));
    EXPECT_EQ(plc.OpenFailureText(), serial::MissingPortSentence("/tmp/plc-link"));
}
