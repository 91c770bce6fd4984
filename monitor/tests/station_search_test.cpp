#include "monitor/station_search.h"

#include <gtest/gtest.h>

#include "../../plc/tests/plc_fixture.h"

using common::Millis;
using plc::testing::AnswerTelegram;
using plc::testing::Bytes;

namespace {
struct StationSearch : plc::testing::PlcFixture {
    // A PLC that answers identify requests at one address.
    void PlcAt(int station) {
        device.respond([station](const std::string& frame) -> std::string {
            if (static_cast<unsigned char>(frame[4]) != station) return {};
            return AnswerTelegram(0x2E, Bytes({0, 0, 2, 1, 0, 0, 0, 0}));
        });
    }
    monitor::ConnectionCheck check{programmer};
};
}  // namespace

TEST_F(StationSearch, PlcAt64IsFoundAtOnce) {
    PlcAt(64);
    EXPECT_TRUE(monitor::FindStation(programmer));
    EXPECT_EQ(frontend.texts("status"), std::vector<std::string>{"Scan SPS SP"});
    EXPECT_EQ(programmer.state().stationAddress, 64);
}

TEST_F(StationSearch, PlcAt3IsFoundAfterTheLowerAddresses) {
    PlcAt(3);
    EXPECT_TRUE(check.CheckConnection());
    EXPECT_EQ(frontend.texts("status"),
              (std::vector<std::string>{"Scan SPS SP", "Scan SPS S0", "Scan SPS S1", "Scan SPS S2",
                                        "Scan SPS S3"}));
    EXPECT_EQ(programmer.state().stationAddress, 3);
    EXPECT_EQ(programmer.state().firmwareMajor, 2);
}

TEST_F(StationSearch, NoPlcTriesAll17AddressesOnVirtualTime) {
    Millis before = clock.now();
    EXPECT_FALSE(check.CheckConnection());
    EXPECT_EQ(clock.now() - before, 17 * Millis(2100));
    EXPECT_EQ(device.writes().size(), 17u);
    EXPECT_EQ(programmer.state().stationAddress, 16);
    EXPECT_EQ(frontend.texts("error+sound"),
              std::vector<std::string>{"No answer from SPS! Please check connection and retry."});
    EXPECT_TRUE(frontend.statusIsError());
    EXPECT_FALSE(check.Connected());
}

TEST_F(StationSearch, ASecondOperationDoesNotSearchUntilTheSpeedChanges) {
    PlcAt(64);
    EXPECT_TRUE(check.CheckConnection());
    EXPECT_TRUE(check.CheckConnection());
    EXPECT_EQ(device.writes().size(), 1u);
    check.Forget();
    EXPECT_TRUE(check.CheckConnection());
    EXPECT_EQ(device.writes().size(), 2u);
}
