#include "plc/transfer/protocol_time.h"

#include <gtest/gtest.h>

namespace {

using plc::timing::Exchange;

// A code telegram of 128 bytes and its acknowledgement, then a reset: the block write's
// waits and line time, the reset's settle time.
TEST(ProtocolTime, WaitsByKindAndLineTimeAtElevenBits) {
    const std::vector<Exchange> exchanges = {{0x44, 143, 1}, {0x24, 12, 1}};
    const plc::timing::TimeFloor floor = plc::timing::FloorOf(exchanges, 9600);
    const double character = 11.0 / 9600;
    EXPECT_EQ(floor.exchanges, 2);
    EXPECT_EQ(floor.characters, 157u);
    EXPECT_DOUBLE_EQ(floor.waits.count(), 0.1 + 0.06 + 5.0);
    EXPECT_DOUBLE_EQ(floor.serial.count(), 5.16 + 157 * character);
    // The 144 characters of the write outlast its 60 ms wait; the reset has none.
    EXPECT_DOUBLE_EQ(floor.overlapped.count(), 0.1 + 144 * character + 13 * character + 5.0);
}

TEST(ProtocolTime, HeaderWriteCarriesTheDownloadsPauseAndModuleSettle) {
    const plc::timing::Waits w = plc::timing::WaitsOf(0x45);
    EXPECT_EQ(w.before.count(), 200);
    EXPECT_EQ(w.after.count(), 60);
    EXPECT_EQ(w.settle.count(), 1500);
    EXPECT_EQ(plc::timing::WaitsOf(0x02).before.count(), 100);
    EXPECT_EQ(plc::timing::WaitsOf(0x0A).before.count(), 0);
}

}  // namespace
