// Real-time pacing on virtual time: the answer leaves at 11 bits per character after the
// request has crossed the line, with no drift over many characters.
#include "sim/display/wire_pacer.h"

#include <gtest/gtest.h>

#include "sim/display/session_record.h"

TEST(WirePacer, AnswerFollowsTheRequestAtWireSpeed) {
    common::FakeClock clock;
    sim::WirePacer pacer(clock, 9600, true);
    EXPECT_EQ(pacer.characterTime().count(), 1145);
    for (int i = 0; i < 100; ++i) pacer.received();  // a 100-byte command read at once
    pacer.awaitReceived();
    EXPECT_GE(clock.now().count(), 114);
    EXPECT_LE(clock.now().count(), 115);
    std::string sent;
    ASSERT_TRUE(pacer.send(std::string(1000, 'x'), [&](const std::string& b) {
        sent += b;
        return true;
    }));
    EXPECT_EQ(sent.size(), 1000u);
    // 1100 characters in all: 1259.5 ms on the wire, within a millisecond.
    EXPECT_GE(clock.now().count(), 1259);
    EXPECT_LE(clock.now().count(), 1260);
}

TEST(WirePacer, FastModeNeverWaits) {
    common::FakeClock clock;
    sim::WirePacer pacer(clock, 9600, false);
    pacer.received();
    pacer.awaitReceived();
    int writes = 0;
    pacer.send("abc", [&](const std::string& b) {
        ++writes;
        return b == "abc";
    });
    EXPECT_EQ(writes, 1);
    EXPECT_TRUE(clock.sleeps().empty());
}

TEST(SessionRecord, LinesLeaveOffTheCarriageReturnAndEscapeControlBytes) {
    EXPECT_EQ(sim::RecordLine("@TA\r"), "@TA");
    EXPECT_EQ(sim::RecordLine("@@/r"), "@@/r");
    EXPECT_EQ(sim::RecordLine(std::string("@TKa\\b\x01\x7F\xE4\r", 9)), "@TKa\\\\b\\x01\\x7F\xE4");
}
