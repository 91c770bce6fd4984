// The simulated display's answers: the acknowledgement worked out by hand, login state,
// retrieval only after its preface, and each fault.
#include "sim/display/display_model.h"

#include <gtest/gtest.h>

namespace {
sim::DisplayRequest Req(const std::string& bytes) {
    return sim::Classify(bytes);
}

std::string Bytes(const sim::Answer& answer) {
    std::string all;
    for (const auto& part : answer) all += part.bytes;
    return all;
}

const std::string kProtocol =
    "Protocol of display 1\r\n"
    "Coming 0012    01.02.24    08:00:00\r\n"
    "Pump 1 failure\r\n"
    "second line\r\n"
    "----\r\n"
    "Going  0012    01.02.24    08:05:00\n"
    "Pump 1 failure\n"
    "second line\n"
    "----\n";
}  // namespace

TEST(DisplayModel, AcknowledgesWithLetterAndChecksum) {
    sim::DisplayModel display({}, "", "");
    EXPECT_EQ(Bytes(display.respond(Req("@TA\r"))), "A\r");
    // M01/000: 0x4D+0x30+0x31+0x2F+0x30+0x30+0x30 = 365 = 0x016D.
    EXPECT_EQ(Bytes(display.respond(Req("@TM01/000\r"))), std::string("M\x6D\x01\r", 4));
    EXPECT_EQ(Bytes(display.respond(Req("@U09:05:03\r"))), "");
    EXPECT_EQ(Bytes(display.respond(Req("@Ta\r"))), "a\r");
    EXPECT_EQ(display.commandsReceived(), 4);
}

TEST(DisplayModel, ChecksumBytesMayBeCarriageReturns) {
    // Letter K (0x4B) plus bytes summing to 0x0D0D - 0x4B: a checksum of 0x0D0D.
    std::string command = "@TK";
    unsigned sum = 0x4B;
    while (sum + 0x7E <= 0x0D0D) {
        command += '~';
        sum += 0x7E;
    }
    command += static_cast<char>(0x0D0D - sum);
    EXPECT_EQ(sim::SetupChecksum(command + "\r"), 0x0D0Du);
}

TEST(DisplayModel, SetupCommandsOutsideALoginGoUnanswered) {
    sim::DisplayModel display({}, "", "");
    EXPECT_TRUE(display.respond(Req("@TB0000\r")).empty());
    EXPECT_TRUE(display.respond(Req("@Ta\r")).empty());
    display.respond(Req("@TA\r"));
    display.respond(Req("@Ta\r"));
    EXPECT_TRUE(display.respond(Req("@TB0000\r")).empty());
}

TEST(DisplayModel, LoginFaults) {
    sim::DisplayFaults wrong;
    wrong.wrongLogin = true;
    EXPECT_EQ(Bytes(sim::DisplayModel(wrong, "", "").respond(Req("@TA\r"))), "a\r");
    sim::DisplayFaults doubled;
    doubled.doubledLogin = true;
    EXPECT_EQ(Bytes(sim::DisplayModel(doubled, "", "").respond(Req("@TA\r"))), "AA\r");
    sim::DisplayFaults silent;
    silent.silent = true;
    EXPECT_TRUE(sim::DisplayModel(silent, "", "").respond(Req("@TA\r")).empty());
}

TEST(DisplayModel, NumberedFaultsHitTheirCommandOnly) {
    sim::DisplayFaults faults;
    faults.wrongChecksumAt = 2;
    faults.shortAckAt = 3;
    faults.silentFrom = 5;
    sim::DisplayModel display(faults, "", "");
    display.respond(Req("@TA\r"));
    EXPECT_EQ(Bytes(display.respond(Req("@TM01/000\r"))), std::string("M\x6E\x01\r", 4));
    EXPECT_EQ(Bytes(display.respond(Req("@TM01/000\r"))), "M");
    EXPECT_EQ(Bytes(display.respond(Req("@TM01/000\r"))), std::string("M\x6D\x01\r", 4));
    EXPECT_TRUE(display.respond(Req("@TM01/000\r")).empty());
    EXPECT_TRUE(display.respond(Req("@Ta\r")).empty());
}

TEST(DisplayModel, RetrievalNeedsItsPreface) {
    sim::DisplayModel display({}, kProtocol, "stat 1\r\n");
    EXPECT_TRUE(display.respond(Req("@YA@")).empty());
    display.respond(Req("@@/r"));
    EXPECT_EQ(Bytes(display.respond(Req("@YA@"))), kProtocol);
    display.respond(Req("@@/r"));
    EXPECT_EQ(Bytes(display.respond(Req("@yA@"))), "stat 1\r\n");
    // The preface counts for the very next command only.
    display.respond(Req("@@/r"));
    display.respond(Req("@TA\r"));
    EXPECT_TRUE(display.respond(Req("@yA@")).empty());
}

TEST(DisplayModel, ProtocolUpToAnEntryKeepsTheLinesBeforeTheFirst) {
    EXPECT_EQ(sim::ProtocolUpTo(kProtocol, 1),
              "Protocol of display 1\r\n"
              "Coming 0012    01.02.24    08:00:00\r\n"
              "Pump 1 failure\r\n"
              "second line\r\n"
              "----\r\n");
    EXPECT_EQ(sim::ProtocolUpTo(kProtocol, 2), kProtocol);
    EXPECT_EQ(sim::ProtocolUpTo(kProtocol, 9999), kProtocol);
    EXPECT_EQ(sim::ProtocolUpTo("", 3), "");
}

TEST(DisplayModel, ClearingEmptiesWhatTheDisplayHolds) {
    sim::DisplayModel display({}, kProtocol, "stat\n");
    display.respond(Req("@YI@"));
    display.respond(Req("@yI@"));
    display.respond(Req("@@/r"));
    EXPECT_TRUE(display.respond(Req("@YA@")).empty());
    display.respond(Req("@@/r"));
    EXPECT_TRUE(display.respond(Req("@yA@")).empty());
}

TEST(DisplayModel, PauseFallsInsideTheChosenLine) {
    sim::DisplayFaults faults;
    faults.pauseInLine = 2;
    sim::DisplayModel display(faults, kProtocol, "");
    display.respond(Req("@@/r"));
    sim::Answer answer = display.respond(Req("@YA@"));
    ASSERT_EQ(answer.size(), 2u);
    EXPECT_EQ(answer[0].pauseBefore.count(), 0);
    EXPECT_GT(answer[1].pauseBefore, std::chrono::milliseconds(3000));
    // The first line whole, the second cut before its line end.
    EXPECT_EQ(answer[0].bytes.rfind("Protocol of display 1\r\nComing", 0), 0u);
    EXPECT_EQ(answer[0].bytes.find('\n', 24), std::string::npos);
    EXPECT_EQ(answer[0].bytes + answer[1].bytes, kProtocol);
}

TEST(DisplayModel, AnswerLinesKeepTheirEndsAndAnUnfinishedRest) {
    auto lines = sim::AnswerLines("a\r\nb\nc");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "a\r\n");
    EXPECT_EQ(lines[1], "b\n");
    EXPECT_EQ(lines[2], "c");
}

TEST(DisplayFaults, ParsesEveryKindAndRefusesNonsense) {
    sim::DisplayFaults faults;
    std::string error;
    for (const char* spec :
         {"silent", "wrong-login", "login-aa", "wrong-logout", "wrong-checksum:84", "short-ack:3",
          "silent-from:12", "pause-in-line:4"})
        EXPECT_TRUE(sim::AddFault(spec, faults, error)) << spec;
    EXPECT_EQ(faults.wrongChecksumAt, 84);
    EXPECT_EQ(faults.silentFrom, 12);
    EXPECT_EQ(faults.pauseInLine, 4);
    for (const char* spec :
         {"loud", "wrong-checksum", "wrong-checksum:0", "short-ack:x", "silent-from:3x"})
        EXPECT_FALSE(sim::AddFault(spec, faults, error)) << spec;
}

TEST(DisplayFaults, EndlessRepeatsTheRetrievalAnswerButNotTheAcknowledgements) {
    sim::DisplayFaults faults;
    std::string error;
    ASSERT_TRUE(sim::AddFault("endless", faults, error));
    sim::DisplayModel display(faults, kProtocol, "");
    EXPECT_FALSE(display.respond(Req("@TA\r")).front().endless);
    display.respond(Req("@@/r"));
    const sim::Answer answer = display.respond(Req("@YA@"));
    ASSERT_EQ(answer.size(), 1u);
    EXPECT_TRUE(answer.front().endless);
    EXPECT_EQ(answer.front().bytes, kProtocol);
}
