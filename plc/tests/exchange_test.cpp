#include "plc/exchange.h"

#include <gtest/gtest.h>

#include "link/stop_signals.h"
#include "plc_fixture.h"

using common::Millis;
using plc::testing::AnswerTelegram;
using plc::testing::Bytes;

namespace {
struct Exchange : plc::testing::PlcFixture {
    plc::PlcExchange& exchange() { return programmer.exchange(); }
    std::string WaitAckMessage() {
        try {
            exchange().WaitAck();
        } catch (const plc::CQuarnException& e) {
            return e.message();
        }
        return "acknowledged";
    }
};
}  // namespace

TEST_F(Exchange, AcknowledgementRules) {
    device.feed(Bytes({0xE5}));
    EXPECT_EQ(WaitAckMessage(), "acknowledged");

    Millis before = clock.now();
    EXPECT_EQ(WaitAckMessage(), "Comunication error: Timeout");
    EXPECT_EQ(clock.now() - before, Millis(2000));

    // 0x00 counts as silence.
    device.feed(Bytes({0x00}));
    EXPECT_EQ(WaitAckMessage(), "Comunication error: Timeout");

    device.feed(Bytes({0x55}));
    EXPECT_EQ(WaitAckMessage(), "Comunication error: Wrong quit char");

    device.feed(AnswerTelegram(0x24, Bytes({1})));
    EXPECT_EQ(WaitAckMessage(), "Comunication error: Wrong quit char");
    EXPECT_FALSE(device.pending());
}

TEST_F(Exchange, RequestWaitsBeforeReadingAndReturnsTheData) {
    device.respond([](const std::string&) { return AnswerTelegram(0x2F, Bytes({9, 8})); });
    std::string data = exchange().Request(Bytes({0x68}));
    EXPECT_EQ(data, Bytes({9, 8}));
    EXPECT_EQ(clock.sleeps().back(), Millis(100));
    device.respond(nullptr);
    EXPECT_TRUE(exchange().Request(Bytes({0x68})).empty());
}

TEST_F(Exchange, DamagedAnswerIsNoAnswerAfterTheLineFallsSilent) {
    device.feed(Bytes({0x68, 5, 5, 0x00, 1, 2, 3, 4, 5, 6, 7}));
    Millis before = clock.now();
    EXPECT_TRUE(exchange().ReceiveTelegram().empty());
    EXPECT_EQ(clock.now() - before, Millis(2000));
}

TEST_F(Exchange, ADeviceThatNeverStopsSendingEndsTheReception) {
    // Endless noise before any start byte, and a damaged frame that is never followed by
    // silence: both end as no answer instead of holding the program.
    const size_t cap = plc::PlcExchange::kMaxReceiveBytes;
    device.feed(std::string(cap + 10, '\x11') + AnswerTelegram(0x2E, Bytes({1, 2})));
    EXPECT_TRUE(exchange().ReceiveTelegram().empty());
    EXPECT_TRUE(device.pending());

    while (device.pending()) link.ReadByte();
    device.feed(Bytes({0x68, 5, 5, 0x00}) + std::string(cap, '\x22'));
    EXPECT_TRUE(exchange().ReceiveTelegram().empty());
    EXPECT_TRUE(device.pending());

    // Noise short of the bound still lets the answer through.
    while (device.pending()) link.ReadByte();
    device.feed(std::string(cap / 2, '\x11') + AnswerTelegram(0x2E, Bytes({1, 2})));
    EXPECT_EQ(exchange().ReceiveTelegram(), Bytes({1, 2}));
}

TEST_F(Exchange, APlcThatDripsItsAnswerEndsAsASilentOneDoes) {
    // One byte just inside each read time-out, as a damaged frame or a slow answer: the
    // reception ends after the time of the longest telegram at the line's speed.
    EXPECT_EQ(exchange().ReceptionTimeBound(), Millis(4600));
    for (const std::uint8_t byte : AnswerTelegram(0x01, std::string(200, '\x33'))) {
        device.feedPause(Millis(1999));
        device.feed(std::string(1, static_cast<char>(byte)));
    }
    const Millis before = clock.now();
    EXPECT_TRUE(exchange().ReceiveTelegram().empty());
    EXPECT_LE(clock.now() - before, Millis(4600 + 1999));
    EXPECT_TRUE(device.pending());  // not read to its end
}

TEST(ThrowIfFailed, ThrowsOnlyWhenFailed) {
    EXPECT_NO_THROW(plc::ThrowIfFailed(false));
    try {
        plc::ThrowIfFailed(true);
        FAIL();
    } catch (const plc::CQuarnException& e) {
        EXPECT_EQ(e.message(), "Comunication error:");
    }
}

TEST_F(Exchange, ThePacingWaitRunsWhileTheRequestIsStillOnTheLine) {
    // 11 bits a character at 9600 baud: about 1.15 ms each.
    device.modelLineTime(11, 9600);
    device.respond([](const std::string&) { return AnswerTelegram(0x2F, Bytes({9, 8})); });
    const std::string shortRequest(11, '\x68');  // 12.6 ms on the line
    Millis before = clock.now();
    EXPECT_EQ(exchange().Request(shortRequest), Bytes({9, 8}));
    // The answer crossed during the 100 ms wait: nothing is added to it.
    EXPECT_EQ(clock.now() - before, Millis(100));

    // A block write of 261 bytes takes 299 ms; its acknowledgement can only come after it.
    device.respond([](const std::string&) { return Bytes({0xE5}); });
    before = clock.now();
    exchange().Write(std::string(261, '\x68'));
    exchange().Pause(plc::kBlockWritePause);
    exchange().WaitAck();
    EXPECT_EQ(clock.now() - before, Millis(301));  // 299.1 + 1.1 ms, no 60 ms after it
}

TEST_F(Exchange, AStopRequestEndsTheExchangeAfterTheWrite) {
    device.respond([](const std::string&) { return Bytes({0xE5}); });
    serial::RequestStop(serial::kInterruptSignal);
    Millis before = clock.now();
    EXPECT_THROW(exchange().SendAcknowledged(Bytes({0x68, 1})), plc::CQuarnException);
    EXPECT_TRUE(exchange().Request(Bytes({0x68, 2})).empty());
    serial::ClearStopRequest();
    EXPECT_EQ(device.writes().size(), 2u);  // each write still went out whole
    EXPECT_EQ(clock.now(), before);         // no pacing wait, no read time-out
}

TEST_F(Exchange, AVanishedPlcFailsTheExchangeWithoutSpinning) {
    device.hangUp();
    Millis before = clock.now();
    EXPECT_EQ(WaitAckMessage(), "Comunication error: Timeout");
    EXPECT_TRUE(exchange().Request(Bytes({0x68})).empty());
    EXPECT_EQ(clock.now() - before, Millis(2000 + 100 + 2000));
}
