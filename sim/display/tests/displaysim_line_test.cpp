// displaysim as a process on a pseudo-terminal, reached through the serial link: the
// display's line values, a short setup session with its record, a protocol retrieval, and
// the wire time of --realtime.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_helpers.h"
#include "common/recording_frontend.h"
#include "link/serial_link.h"
#include "link/termios_device.h"
#include "sim/display/testing/displaysim_process.h"

namespace {
struct Session {
    explicit Session(serial::Program program) : link(device, frontend, program) {}
    common::RealClock clock;
    serial::TermiosDevice device{clock};
    common::RecordingFrontend frontend;
    serial::CSerialLink link;
};

std::string Answer(serial::CSerialLink& link, const std::string& command, bool checksumMode) {
    link.Write(command);
    std::string answer;
    link.ReadAnswer(answer, checksumMode);
    return answer;
}
}  // namespace

TEST(DisplaySim, SetupSessionIsAnsweredAndRecorded) {
    const std::string record = simtest::UniqueTempPath("displaysim-record");
    simtest::DisplaySimProcess sim(DISPLAYSIM_PATH, simtest::UniqueTempPath("displaysim"),
                                   {"--record", record});
    ASSERT_TRUE(sim.waitReady());
    Session s(serial::Program::Skellig);
    ASSERT_TRUE(s.link.Open(sim.link()));
    EXPECT_EQ(Answer(s.link, "@TA\r", false), "A");
    EXPECT_EQ(Answer(s.link, "@TM01/000\r", true), std::string("M\x6D\x01", 3));
    s.link.Write("@U09:05:03\r");
    s.link.Write("@UW\r");
    s.link.Write("@D07.03.24\r");
    EXPECT_EQ(Answer(s.link, "@Ta\r", false), "a");
    s.link.Close();
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_EQ(common::ReadWholeFile(record).value_or(""),
              "@TA\n@TM01/000\n@U09:05:03\n@UW\n@D07.03.24\n@Ta\n");
    std::filesystem::remove(record);
}

TEST(DisplaySim, OtherLineValuesMeetASilentDisplay) {
    simtest::DisplaySimProcess sim(DISPLAYSIM_PATH, simtest::UniqueTempPath("displaysim"), {});
    ASSERT_TRUE(sim.waitReady());
    // The PLC tool's line: 1 stop bit.
    Session s(serial::Program::QuarnWin);
    ASSERT_TRUE(s.link.Open(sim.link()));
    EXPECT_EQ(Answer(s.link, "@TA\r", false), "");
}

TEST(DisplaySim, ProtocolRetrievalSendsTheHeldLines) {
    const std::string protocolFile = simtest::UniqueTempPath("displaysim-protocol");
    const std::string protocol =
        "head\r\nComing 0001    01.02.24    08:00:00\r\nA\r\nB\r\n--\r\n"
        "Going  0001    01.02.24    08:01:00\nA\nB\n--\n";
    ASSERT_TRUE(common::WriteFileReplacing(protocolFile, protocol));
    simtest::DisplaySimProcess sim(DISPLAYSIM_PATH, simtest::UniqueTempPath("displaysim"),
                                   {"--protocol", protocolFile});
    ASSERT_TRUE(sim.waitReady());
    Session s(serial::Program::Vantor);
    ASSERT_TRUE(s.link.Open(sim.link()));
    s.link.Write("@@/r");
    s.link.Write("@Y0001@");
    std::string all, line;
    while (s.link.ReadLine(line)) all += line;
    EXPECT_EQ(all, "head\r\nComing 0001    01.02.24    08:00:00\r\nA\r\nB\r\n--\r\n");
    std::filesystem::remove(protocolFile);
}

TEST(DisplaySim, RealtimeTakesTheWireTime) {
    simtest::DisplaySimProcess sim(DISPLAYSIM_PATH, simtest::UniqueTempPath("displaysim"),
                                   {"--realtime"});
    ASSERT_TRUE(sim.waitReady());
    Session s(serial::Program::Skellig);
    ASSERT_TRUE(s.link.Open(sim.link()));
    ASSERT_EQ(Answer(s.link, "@TA\r", false), "A");
    const std::string command = "@TK0000/01/" + std::string(40, 'x') + "\r";  // 52 bytes
    auto start = s.clock.now();
    for (int i = 0; i < 10; ++i) ASSERT_EQ(Answer(s.link, command, true).size(), 3u);
    auto took = s.clock.now() - start;
    // 10 x (52 + 4) characters of 11 bits at 9600 baud: 641.7 ms.
    EXPECT_GE(took.count(), 635);
    EXPECT_LT(took.count(), 800);
}
