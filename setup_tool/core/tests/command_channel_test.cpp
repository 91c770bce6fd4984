// The command protocol against a scripted display on virtual time: the worked checksum
// example, carriage returns among the checksum bytes, short and late acknowledgements,
// and the login and logout answers.
#include "setup_tool/core/command_channel.h"

#include <gtest/gtest.h>

#include "common/recording_frontend.h"
#include "link/scripted_device.h"
#include "setup_tool/core/send_exception.h"

namespace {
struct Channel : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(link.Open("ttyUSB0")); }
    std::string Failure(const std::string& command) {
        try {
            channel.SendCommand(command);
        } catch (const setup::CSendException& e) {
            return e.what();
        }
        return "accepted";
    }
    common::FakeClock clock;
    serial::ScriptedDevice device{clock};
    common::RecordingFrontend frontend;
    serial::CSerialLink link{device, frontend, serial::Program::Skellig};
    setup::CommandChannel channel{link, frontend};
};
}  // namespace

TEST(CommandChecksum, WorkedExample) {
    EXPECT_EQ(setup::CommandChecksum("@TM01/000"), 365);
    EXPECT_EQ(setup::CommandChecksum("@T"), 0);
    // Bytes above 0x7F count unsigned.
    EXPECT_EQ(setup::CommandChecksum("@TK\xFF"), 0x4B + 0xFF);
}

TEST_F(Channel, WorkedExampleIsWrittenAndAccepted) {
    device.feed(std::string("M\x6D\x01\r", 4));
    EXPECT_EQ(Failure("@TM01/000"), "accepted");
    ASSERT_EQ(device.writes().size(), 1u);
    EXPECT_EQ(device.writes()[0], "@TM01/000\r");
    EXPECT_EQ(clock.now().count(), 0);  // the fourth byte ended the answer
}

TEST_F(Channel, CarriageReturnsAmongTheChecksumBytesAreData) {
    // "@TK" + "\xC2": 0x4B + 0xC2 = 0x010D, low byte 0x0D.
    device.feed(std::string("K\r\x01\r", 4));
    EXPECT_EQ(Failure("@TK\xC2"), "accepted");
    // High byte 0x0D: 0x0D4B - 0x4B = 0x0D00 in bytes of 0xFF and a rest.
    std::string command = "@TK";
    unsigned sum = 0x4B;
    while (sum + 0xFF <= 0x0D4B) {
        command += '\xFF';
        sum += 0xFF;
    }
    command += static_cast<char>(0x0D4B - sum);
    ASSERT_EQ(setup::CommandChecksum(command), 0x0D4B);
    device.feed(std::string("K\x4B\r\r", 4));
    EXPECT_EQ(Failure(command), "accepted");
}

TEST_F(Channel, ThreeGoodBytesWithoutCarriageReturnAreAcceptedAfterTheTimeOut) {
    device.feed(std::string("M\x6D\x01xyz", 6));
    EXPECT_EQ(Failure("@TM01/000"), "accepted");
    EXPECT_EQ(clock.now().count(), 2000);
}

TEST_F(Channel, FailedAcknowledgements) {
    EXPECT_EQ(Failure("@TM01/000"), "Timeout");
    EXPECT_EQ(clock.now().count(), 2000);
    device.feed("M");
    EXPECT_EQ(Failure("@TM01/000"), "Wrong checksum");
    device.feed(std::string("M\x6D", 2));
    EXPECT_EQ(Failure("@TM01/000"), "Wrong checksum");
    device.feed(std::string("N\x6D\x01\r", 4));
    EXPECT_EQ(Failure("@TM01/000"), "Wrong checksum");
    device.feed(std::string("M\x6E\x01\r", 4));
    EXPECT_EQ(Failure("@TM01/000"), "Wrong checksum");
    device.feed(std::string("M\x6D\x02\r", 4));
    EXPECT_EQ(Failure("@TM01/000"), "Wrong checksum");
    EXPECT_TRUE(frontend.calls().empty());
}

TEST_F(Channel, LoginAnswers) {
    struct Case {
        std::string answer;
        bool loggedIn;
        const char* message;
    };
    for (const Case& c : {Case{"A\r", true, nullptr}, Case{"A", true, nullptr},
                          Case{"", false, "No connection"}, Case{"AA\r", false, "No connection"},
                          Case{"a\r", false, "No login"}, Case{"\r", false, "No connection"}}) {
        frontend.clear();
        device.feed(c.answer);
        EXPECT_EQ(channel.Login(), c.loggedIn) << c.answer;
        EXPECT_EQ(device.writes().back(), "@TA\r");
        if (c.message)
            EXPECT_EQ(frontend.texts("message"), std::vector<std::string>{c.message}) << c.answer;
        else
            EXPECT_TRUE(frontend.calls().empty()) << c.answer;
    }
}

TEST_F(Channel, LogoutAnswers) {
    device.feed("a\r");
    EXPECT_TRUE(channel.Logout());
    EXPECT_EQ(device.writes().back(), "@Ta\r");
    EXPECT_EQ(frontend.status(), "Ready");
    frontend.clear();
    EXPECT_FALSE(channel.Logout());
    EXPECT_EQ(frontend.texts("message"), std::vector<std::string>{"No connection"});
    EXPECT_TRUE(frontend.texts("status").empty());
    device.feed("a\r");
    frontend.clear();
    EXPECT_TRUE(channel.Logout(false));
    EXPECT_TRUE(frontend.calls().empty());
}

TEST(SendException, KeepsAtMost255Characters) {
    setup::CSendException copy = setup::CSendException(std::string(300, 'x'));
    EXPECT_EQ(std::string(copy.what()).size(), 255u);
    EXPECT_STREQ(setup::CSendException("Timeout").what(), "Timeout");
}

TEST_F(Channel, AVanishedDisplayFailsTheCommandAfterItsTimeOut) {
    device.feed("M");  // part of the acknowledgement, then the converter is unplugged
    device.hangUp();
    EXPECT_EQ(Failure("@TM01/000"), "Wrong checksum");
    EXPECT_EQ(Failure("@TM01/000"), "Timeout");
    EXPECT_EQ(clock.now().count(), 4000);  // each read still lets its time-out pass
}

TEST_F(Channel, OnlyTheUnacknowledgedCommandWaitsForTheLine) {
    device.modelLineTime(11, 9600);
    device.respond([](const std::string& w) { return w == "@TA\r" ? std::string("A\r") : ""; });
    ASSERT_TRUE(channel.Login());
    EXPECT_EQ(clock.now().count(), 7);  // "@TA\r" and "A\r" on the line: 6 characters
    channel.WriteUnacknowledged("@TZ12:00:00\r");
    EXPECT_EQ(clock.now().count(), 21);  // it has left the port before the next step
}
