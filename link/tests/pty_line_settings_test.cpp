// The termios device against a real pseudo-terminal: what the device end sees of each
// program's settings, exclusive opens and a vanished peer.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "common/recording_frontend.h"
#include "link/pseudo_terminal.h"
#include "link/serial_link.h"
#include "link/termios_device.h"

namespace {
struct Pty : ::testing::Test {
    void SetUp() override {
        linkPath = "/tmp/pty-line-test-" + std::to_string(::getpid());
        std::string error;
        pty = serial::PseudoTerminal::Create(linkPath, error);
        ASSERT_TRUE(pty) << error;
    }
    std::string linkPath;
    std::unique_ptr<serial::PseudoTerminal> pty;
    common::RealClock clock;
    common::RecordingFrontend frontend;
};
}  // namespace

TEST_F(Pty, EachProgramsSettingsReachTheLine) {
    struct Case {
        serial::Program program;
        bool fast;
        int baud;
        int stopBits;
    };
    for (Case c : {Case{serial::Program::QuarnWin, false, 9600, 1},
                   Case{serial::Program::QuarnWin, true, 19200, 1},
                   Case{serial::Program::Skellig, false, 9600, 2},
                   Case{serial::Program::Vantor, false, 9600, 2}}) {
        const serial::ObservedLine before = pty->observedLine();
        serial::TermiosDevice device(clock);
        serial::CSerialLink serial(device, frontend, c.program);
        ASSERT_TRUE(serial.Open(linkPath, c.fast));
        serial::ObservedLine line = pty->observedLine();
        EXPECT_EQ(line.baud, c.baud);
        EXPECT_EQ(line.dataBits, 8);
        EXPECT_EQ(line.stopBits, c.stopBits);
        serial.Close();
        // Closing gives the port back as it was found.
        EXPECT_EQ(pty->observedLine().baud, before.baud);
        EXPECT_EQ(pty->observedLine().stopBits, before.stopBits);
    }
    EXPECT_TRUE(frontend.calls().empty());
}

TEST_F(Pty, BytesTravelBothWaysAndSilenceTakesTheTimeOut) {
    serial::TermiosDevice device(clock);
    serial::CSerialLink serial(device, frontend, serial::Program::QuarnWin);
    ASSERT_TRUE(serial.Open(linkPath));
    ASSERT_TRUE(serial.Write(std::string("\x68\x00\x11\x13", 4)));
    std::string got;
    for (int i = 0; i < 4; ++i) {
        auto b = pty->readByte(common::Millis(1000));
        ASSERT_TRUE(b);
        got += static_cast<char>(*b);
    }
    EXPECT_EQ(got, std::string("\x68\x00\x11\x13", 4));
    ASSERT_TRUE(pty->write("\xE5"));
    EXPECT_EQ(serial.ReadByte(), 0xE5);
    auto before = clock.now();
    EXPECT_FALSE(serial.ReadByte());
    auto waited = clock.now() - before;
    EXPECT_GE(waited, common::Millis(1990));
    EXPECT_LT(waited, common::Millis(2500));
}

TEST_F(Pty, SecondOpenIsRefusedAsBusy) {
    serial::TermiosDevice first(clock), second(clock);
    ASSERT_EQ(first.open(linkPath).reason, serial::OpenError::None);
    EXPECT_EQ(second.open(linkPath).reason, serial::OpenError::Busy);
    first.close();
    EXPECT_EQ(second.open(linkPath).reason, serial::OpenError::None);
}

TEST_F(Pty, BytesSentBeforeTheOpenAreNotTakenAsAnswers) {
    // An answer that reached the line after its program had gone (or before this one came)
    // must not be read as the answer to this program's first request.
    ASSERT_TRUE(pty->write(std::string("\x68\x05\xE5", 3)));
    serial::TermiosDevice device(clock);
    ASSERT_EQ(device.open(linkPath).reason, serial::OpenError::None);
    EXPECT_FALSE(device.readByte(common::Millis(300)));
    ASSERT_TRUE(pty->write("\xE5"));
    EXPECT_EQ(device.readByte(common::Millis(1000)), 0xE5);
}

TEST(PtyCreate, ReplacesAStaleLinkButNeverAFile) {
    const std::string path = "/tmp/pty-create-test-" + std::to_string(::getpid());
    std::string error;
    {
        std::FILE* f = std::fopen(path.c_str(), "w");
        ASSERT_TRUE(f);
        std::fputs("project", f);
        std::fclose(f);
    }
    EXPECT_FALSE(serial::PseudoTerminal::Create(path, error));
    EXPECT_NE(error.find("not a symbolic link"), std::string::npos) << error;
    EXPECT_EQ(::access(path.c_str(), F_OK), 0);  // the file is still there
    ::unlink(path.c_str());

    ASSERT_EQ(::symlink("/dev/ttyGoneLongAgo", path.c_str()), 0);
    auto pty = serial::PseudoTerminal::Create(path, error);
    ASSERT_TRUE(pty) << error;
    char target[128] = {};
    ASSERT_GT(::readlink(path.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(pty->slavePath(), target);
}

TEST(PtyOpen, MissingPortIsAbsent) {
    common::RealClock clock;
    serial::TermiosDevice device(clock);
    EXPECT_EQ(device.open("/dev/ttyNoSuchPort99").reason, serial::OpenError::Absent);
    EXPECT_EQ(device.open("/dev/null").reason, serial::OpenError::NotATerminal);
    EXPECT_FALSE(device.isOpen());
    // A simulator's link that is not there is not a missing converter.
    serial::OpenResult result = device.open("/tmp/no-such-simulator-link");
    EXPECT_EQ(result.reason, serial::OpenError::Absent);
    EXPECT_EQ(result.sentence.find("converter"), std::string::npos) << result.sentence;
    result = device.open("ttyUSB97");
    EXPECT_NE(result.sentence.find("/dev/ttyUSB97 does not exist: is the USB-serial converter"),
              std::string::npos)
        << result.sentence;
}

TEST(PtyStop, AStopSignalEndsAWriteThatNobodyReads) {
    const std::string path = testing::TempDir() + "pty-stop-test-" + std::to_string(::getpid());
    std::string error;
    auto pty = serial::PseudoTerminal::Create(path, error);
    ASSERT_TRUE(pty) << error;
    serial::InstallStopSignals();
    const pthread_t writer = ::pthread_self();
    std::thread stopper([writer] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::pthread_kill(writer, SIGTERM);
    });
    // Far more than the line holds while the client end reads nothing.
    EXPECT_FALSE(pty->write(std::string(1 << 20, 'x')));
    stopper.join();
    EXPECT_TRUE(serial::StopRequested());
    EXPECT_EQ(serial::StopSignal(), SIGTERM);
    serial::ClearStopRequest();
}

TEST_F(Pty, AClosedFarEndIsGoneAndAClosedPortFailsAtOnce) {
    serial::TermiosDevice device(clock);
    ASSERT_EQ(device.open(linkPath).reason, serial::OpenError::None);
    pty.reset();  // the simulator went away
    auto before = clock.now();
    EXPECT_EQ(device.read(common::Millis(300)).status, serial::ReadStatus::Gone);
    EXPECT_GE(clock.now() - before, common::Millis(290));  // a gone device does not spin a loop
    device.close();
    before = clock.now();
    EXPECT_EQ(device.read(common::Millis(2000)).status, serial::ReadStatus::Gone);
    EXPECT_LT(clock.now() - before, common::Millis(50));
}

TEST_F(Pty, AWriteNobodyTakesGivesUpAtItsTimeOut) {
    serial::TermiosDevice device(clock);
    serial::CSerialLink serial(device, frontend, serial::Program::QuarnWin);
    ASSERT_TRUE(serial.Open(linkPath));
    auto before = clock.now();
    EXPECT_FALSE(serial.Write(std::string(1 << 20, 'x')));  // the simulator reads nothing
    const auto waited = clock.now() - before;
    EXPECT_GE(waited, common::Millis(990));
    EXPECT_LT(waited, common::Millis(1500));
}

TEST_F(Pty, APortLeftWithoutItsOldSettingsOpensAgain) {
    // A tool killed on the PLC line leaves the pseudo-terminal at 9600 baud without parity
    // (a pseudo-terminal keeps none); the next open with even parity must not be refused.
    int fd = ::open(linkPath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios t{};
    ASSERT_EQ(::tcgetattr(fd, &t), 0);
    ::cfmakeraw(&t);
    t.c_cflag |= PARENB | CLOCAL | CREAD;
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    ::tcsetattr(fd, TCSANOW, &t);
    ::close(fd);
    serial::TermiosDevice device(clock);
    serial::CSerialLink serial(device, frontend, serial::Program::QuarnWin);
    EXPECT_TRUE(serial.Open(linkPath));
    EXPECT_TRUE(frontend.calls().empty());
    EXPECT_EQ(pty->observedLine().baud, 9600);
}

TEST_F(Pty, ASecondStopSignalPutsTheLineBackAndEndsAtOnce) {
    const int before = pty->observedLine().baud;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        serial::TermiosDevice device(clock);
        serial::CSerialLink serial(device, frontend, serial::Program::QuarnWin);
        if (!serial.Open(linkPath, true)) ::_exit(3);
        serial::InstallStopSignals(serial::SecondStop::EndsAtOnce);
        ::raise(SIGINT);
        if (!serial::StopRequested()) ::_exit(4);
        ::raise(SIGINT);
        ::_exit(5);  // not reached
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_EQ(pty->observedLine().baud, before);
}
