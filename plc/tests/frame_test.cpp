#include "plc/frame.h"

#include <gtest/gtest.h>

#include "plc/telegram_receiver.h"
#include "plc_fixture.h"

using plc::testing::Bytes;

TEST(Frame, ResetFramesCarryTheStationAndTheSum) {
    EXPECT_EQ(plc::MakeFrame(0x40, plc::command::kReset, Bytes({0, 0})),
              Bytes({0x68, 0x06, 0x06, 0x68, 0x40, 0xFF, 0x04, 0x24, 0x00, 0x00, 0x67, 0x16}));
    EXPECT_EQ(plc::MakeFrame(3, plc::command::kReset, Bytes({0, 0})),
              Bytes({0x68, 0x06, 0x06, 0x68, 0x03, 0xFF, 0x04, 0x24, 0x00, 0x00, 0x2A, 0x16}));
}

TEST(Frame, ChecksumWrapsModulo256AndBuildTelegramTakesLePlusFour) {
    plc::TelegramBuffer buffer{};
    buffer.fill(0xAA);  // leftovers of an earlier request stay beyond LE+4
    plc::ComposeHeader(buffer, 5, 0xFF, 0xFF);
    buffer[8] = 0xFF;
    std::string frame = plc::BuildTelegram(buffer);
    ASSERT_EQ(frame.size(), 9u);
    plc::AppendChecksum(frame);
    // 0xFF + 0xFF + 0x04 + 0xFF + 0xFF = 0x400 -> 0x00
    EXPECT_EQ(frame.substr(9), Bytes({0x00, 0x16}));
}

namespace {
// Feeds bytes until the receiver completes; the data, or nullopt when it never completes.
std::optional<std::string> Receive(const std::string& bytes, int state = 0) {
    plc::TelegramReceiver receiver(state);
    for (unsigned char b : bytes)
        if (receiver.feed(b)) return receiver.data();
    return std::nullopt;
}
}  // namespace

TEST(TelegramReceiver, StoresTheBytesAfterTheCommandByte) {
    // LE 9: five data bytes.
    auto data = Receive(Bytes({0x68, 9, 9, 0x68, 0xFF, 0x40, 4, 0x2E, 1, 2, 3, 4, 5, 0x00, 0x16}));
    ASSERT_TRUE(data);
    EXPECT_EQ(*data, Bytes({1, 2, 3, 4, 5}));
}

TEST(TelegramReceiver, SkipsNoiseAndWaitsForTheRepeatedLength) {
    // Noise before the start; a second length byte that differs is ignored until LE comes.
    auto data = Receive(Bytes({0x00, 0x13, 0x68, 6, 7, 8, 6, 0x68, 1, 2, 3, 4, 0xAA, 0xBB, 0, 0}));
    ASSERT_TRUE(data);
    EXPECT_EQ(*data, Bytes({0xAA, 0xBB}));
}

TEST(TelegramReceiver, AcceptsWrongChecksumAndEndByte) {
    auto data = Receive(Bytes({0x68, 5, 5, 0x68, 1, 2, 3, 4, 0x77, 0x99, 0x99}));
    ASSERT_TRUE(data);
    EXPECT_EQ(*data, Bytes({0x77}));
}

TEST(TelegramReceiver, DamagedFrameIsDrainedForever) {
    plc::TelegramReceiver receiver;
    for (unsigned char b : Bytes({0x68, 5, 5, 0x67, 0x68, 5, 5, 0x68, 1, 2, 3, 4, 5, 6, 0x16}))
        EXPECT_FALSE(receiver.feed(b));
    EXPECT_EQ(receiver.state(), plc::TelegramReceiver::kStateDamaged);
}

TEST(TelegramReceiver, EmptyAnswerEndsAfterItsEndByteWithoutData) {
    // LE 4: no data; FCS and end byte must not be stored as data.
    auto data = Receive(Bytes({0x68, 4, 4, 0x68, 1, 2, 3, 4, 0x0A, 0x16}));
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->empty());
}

TEST(TelegramReceiver, StartsAfterTheStartByteWhenAskedTo) {
    auto data = Receive(Bytes({5, 5, 0x68, 1, 2, 3, 4, 0x42, 0, 0x16}),
                        plc::TelegramReceiver::kStateAfterStart);
    ASSERT_TRUE(data);
    EXPECT_EQ(*data, Bytes({0x42}));
}
