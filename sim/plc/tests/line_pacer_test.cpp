// Real-time pacing: an answer takes its characters' time at the client's speed, without
// drifting however the sleeps fall.
#include "sim/plc/line_pacer.h"

#include <gtest/gtest.h>

namespace {

// A clock whose sleeps overrun by 300 us, as a loaded machine's do.
struct OverrunningClock final : common::Clock {
    std::chrono::microseconds time{0};
    void sleep(common::Millis duration) override {
        time += duration + std::chrono::microseconds(300);
    }
    common::Millis now() const override { return std::chrono::duration_cast<common::Millis>(time); }
};

TEST(LinePacer, AnswerTakesItsWireTimeWithoutDrifting) {
    EXPECT_EQ(sim::LinePacer::CharacterTime(9600).count(), 1145);
    EXPECT_EQ(sim::LinePacer::CharacterTime(19200).count(), 572);
    for (int baud : {9600, 19200}) {
        OverrunningClock clock;
        sim::LinePacer pacer(clock, true, [&] { return clock.time; });
        const auto character = sim::LinePacer::CharacterTime(baud);
        std::vector<std::chrono::microseconds> at;
        ASSERT_TRUE(pacer.send(std::string(255, 'x'), baud, [&](const std::string& b) {
            for (size_t i = 0; i < b.size(); ++i) at.push_back(clock.time);
            return true;
        }));
        ASSERT_EQ(at.size(), 255u);
        // Every byte within a millisecond of its due time, the last one too.
        for (size_t k = 0; k < at.size(); ++k) {
            const auto due = character * static_cast<int>(k + 1);
            EXPECT_LE(std::chrono::abs(at[k] - due).count(), 1000) << baud << " byte " << k;
        }
        // Bytes from the client queue up behind each other; the answer waits for the last.
        const auto start = clock.time;
        for (int i = 0; i < 13; ++i) pacer.received(baud);
        pacer.awaitReceived();
        EXPECT_LE(std::chrono::abs(clock.time - start - character * 13).count(), 1000);
    }
}

TEST(LinePacer, OffWritesAtOnce) {
    common::FakeClock clock;
    sim::LinePacer pacer(clock, false);
    int writes = 0;
    pacer.received(9600);
    pacer.awaitReceived();
    pacer.send("abc", 9600, [&](const std::string& b) {
        ++writes;
        return b == "abc";
    });
    EXPECT_EQ(writes, 1);
    EXPECT_TRUE(clock.sleeps().empty());
}

}  // namespace
