// The simulated PLC's own side of the protocol, pinned to the worked frame examples so a
// misreading can't hide by being made on both sides.
#include "sim/plc/plc_device.h"

#include <gtest/gtest.h>

#include "sim/plc/answer_builder.h"
#include "sim/plc/plc_faults.h"
#include "sim/plc/request_parser.h"

namespace {
std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}
std::optional<sim::PlcRequest> Parse(sim::RequestParser& parser, const std::string& bytes) {
    std::optional<sim::PlcRequest> last;
    for (unsigned char b : bytes)
        if (auto r = parser.feed(b)) last = r;
    return last;
}
}  // namespace

TEST(PlcRequestParser, TakesTheResetFrameAndRejectsDamagedOnes) {
    sim::RequestParser parser;
    auto reset = Parse(parser, Bytes({0x13, 0x68, 0x06, 0x06, 0x68, 0x40, 0xFF, 0x04, 0x24, 0x00,
                                      0x00, 0x67, 0x16}));
    ASSERT_TRUE(reset);
    EXPECT_EQ(reset->station, 0x40);
    EXPECT_EQ(reset->command, 0x24);
    EXPECT_EQ(reset->data, Bytes({0, 0}));
    // Wrong sum, wrong end byte, lengths that differ.
    EXPECT_FALSE(Parse(parser, Bytes({0x68, 6, 6, 0x68, 0x40, 0xFF, 4, 0x24, 0, 0, 0x68, 0x16})));
    EXPECT_FALSE(Parse(parser, Bytes({0x68, 6, 6, 0x68, 0x40, 0xFF, 4, 0x24, 0, 0, 0x67, 0x17})));
    EXPECT_FALSE(Parse(parser, Bytes({0x68, 6, 7, 0x68})));
    EXPECT_EQ(parser.rejected(), 3);
    // And recovers for the next good frame (station 3).
    auto again = Parse(parser, Bytes({0x68, 6, 6, 0x68, 3, 0xFF, 4, 0x24, 0, 0, 0x2A, 0x16}));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->station, 3);
}

TEST(PlcRequestParser, AFrameLeftUnfinishedDoesNotSwallowTheNextRequest) {
    sim::RequestParser parser;
    const std::string identifyStart = Bytes({0x68, 0x28, 0x28, 0x68, 0x40, 0xFF, 0x04, 0x2E});
    const std::string reset =
        Bytes({0x68, 0x06, 0x06, 0x68, 0x40, 0xFF, 0x04, 0x24, 0x00, 0x00, 0x67, 0x16});
    common::Millis at{1000};
    for (unsigned char b : identifyStart) EXPECT_FALSE(parser.feed(b, at));
    // The sender stopped half-way; a new request comes after a pause.
    at += sim::RequestParser::kFrameGap;
    std::optional<sim::PlcRequest> got;
    for (unsigned char b : reset) {
        if (auto r = parser.feed(b, at)) got = r;
        at += common::Millis(1);
    }
    ASSERT_TRUE(got);
    EXPECT_EQ(got->command, 0x24);
    EXPECT_EQ(parser.rejected(), 1);
}

TEST(PlcDevice, AnswersOnlyItsOwnStation) {
    sim::PlcDevice device(3, 2, 1);
    sim::PlcRequest identify{3, 0x2E, std::string(36, '\0'), {}};
    std::string answer = device.handle(identify);
    // 68 0C 0C 68 FF 03 08 2E, 8 data bytes, FCS, 16
    ASSERT_EQ(answer.size(), 18u);
    EXPECT_EQ(answer.substr(0, 8), Bytes({0x68, 0x0C, 0x0C, 0x68, 0xFF, 0x03, 0x08, 0x2E}));
    EXPECT_EQ(answer[10], 2);
    EXPECT_EQ(answer[11], 1);
    identify.station = 0x40;
    EXPECT_EQ(device.handle(identify), "");

    sim::PlcRequest flags{3, 0x27, Bytes({0x34, 0x12}), {}};
    EXPECT_EQ(device.handle(flags), sim::AckAnswer());
    EXPECT_EQ(device.flagsWord(), 0x1234);
    EXPECT_EQ(device.handle({3, 0x2F, {}, {}}).size(), 246u + 10u);
}

TEST(PlcFaults, ChangeWhatIsSent) {
    const std::string ack = sim::AckAnswer();
    const std::string telegram = sim::TelegramAnswer(3, 0x2E, Bytes({1, 2}));
    sim::PlcFaults faults;
    EXPECT_EQ(faults.apply(1, 3, 0x24, ack), ack);
    ASSERT_TRUE(faults.parse("silent-after=2"));
    EXPECT_EQ(faults.apply(2, 3, 0x24, ack), ack);
    EXPECT_EQ(faults.apply(3, 3, 0x24, ack), "");

    sim::PlcFaults wrong;
    ASSERT_TRUE(wrong.parse("wrong-ack"));
    EXPECT_EQ(wrong.apply(1, 3, 0x24, ack), "\x55");
    EXPECT_EQ(wrong.apply(1, 3, 0x2E, telegram), telegram);

    sim::PlcFaults damagedNoise;
    ASSERT_TRUE(damagedNoise.parse("damaged"));
    ASSERT_TRUE(damagedNoise.parse("noise"));
    std::string out = damagedNoise.apply(1, 3, 0x2E, telegram);
    EXPECT_EQ(out.size(), telegram.size() + 4);
    EXPECT_EQ(out[4 + 3], '\x67');

    sim::PlcFaults bad;
    EXPECT_FALSE(bad.parse("silent-after=x"));
    EXPECT_FALSE(bad.parse("loud"));
}

TEST(PlcFaults, DropAnswerLosesOnlyTheNthAnswerOfItsCommand) {
    const std::string header = sim::TelegramAnswer(3, 0x0A, Bytes({1, 2}));
    const std::string ack = sim::AckAnswer();
    sim::PlcFaults faults;
    ASSERT_TRUE(faults.parse("drop-answer=0x0A:2"));
    EXPECT_EQ(faults.apply(1, 3, 0x0A, header), header);
    EXPECT_EQ(faults.apply(2, 3, 0x42, ack), ack);
    EXPECT_EQ(faults.apply(3, 3, 0x0A, header), "");
    EXPECT_EQ(faults.apply(4, 3, 0x0A, header), header);
    for (const char* wrong : {"drop-answer=10", "drop-answer=:2", "drop-answer=0x100:1",
                              "drop-answer=10:0", "drop-answer=10:x"})
        EXPECT_FALSE(sim::PlcFaults().parse(wrong)) << wrong;
}

TEST(PlcFaults, NumbersAreDecimalAsTheToolsReadThemAndWireAndMemoryFaultsStayApart) {
    sim::PlcFaults faults;
    ASSERT_TRUE(faults.parse("drop-answer=010:1"));
    EXPECT_EQ(faults.wire.dropCommand, 10);
    ASSERT_TRUE(faults.parse("silent-after=010"));
    EXPECT_EQ(faults.wire.silentAfter, 10);
    ASSERT_TRUE(faults.parse("corrupt-write=08"));
    EXPECT_EQ(faults.memory.corruptWrite, 8);
    ASSERT_TRUE(faults.parse("drop-answer=0X2e:3"));
    EXPECT_EQ(faults.wire.dropCommand, 0x2E);
    for (const char* wrong : {"silent-after= 5", "silent-after=+5", "drop-answer=0x:1",
                              "drop-answer=-1:1", "corrupt-write=0"})
        EXPECT_FALSE(sim::PlcFaults().parse(wrong)) << wrong;
    EXPECT_EQ(faults.memory.badChecksum, -1);
    EXPECT_FALSE(faults.wire.silent);
}
