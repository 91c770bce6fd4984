#include "plc/transfer/plc_directory.h"

#include <gtest/gtest.h>

#include "fake_plc.h"

namespace {

using plc::testing::FakePlc;

TEST(PageMapWalk, SystemPagesDependOnThePageSize) {
    std::vector<size_t> small, large;
    for (size_t j = 0; j < 256; ++j) {
        if (plc::IsSystemPage(j, 0x200)) small.push_back(j);
        if (plc::IsSystemPage(j, 0x400)) large.push_back(j);
    }
    EXPECT_EQ(small, (std::vector<size_t>{0, 1, 2, 128, 129}));
    EXPECT_EQ(large, (std::vector<size_t>{0, 1, 128}));
}

TEST(PageMapWalk, ModulesAreTakenInMapOrderUntilTheEnd) {
    std::array<std::uint8_t, 256> map{};
    EXPECT_TRUE(plc::WalkPageMap(map.data(), 0x200).empty());  // first byte 0: nothing

    for (int j = 0; j < 8; ++j) map[j] = 0x40;
    map[8] = 0x85;
    map[9] = 0x85;
    map[10] = 0xC6;
    EXPECT_EQ(plc::WalkPageMap(map.data(), 0x200), (std::vector<std::uint8_t>{5, 6}));
    map[11] = 0x47;  // kind 01 makes no entry
    map[12] = 0x85;  // module 5 again, after another one
    map[13] = 0x80;  // ends the map
    map[14] = 0xC9;
    EXPECT_EQ(plc::WalkPageMap(map.data(), 0x200), (std::vector<std::uint8_t>{5, 6, 5}));

    // Module bytes on system pages are skipped, and at most 65 modules are taken.
    map.fill(0);
    map[0] = 0xC1;
    map[1] = 0xC2;
    map[128] = 0xC3;
    for (int j = 2; j < 256; ++j)
        if (j != 128) map[j] = static_cast<std::uint8_t>(0x80 | (j % 2 ? 0x21 : 0x22));
    auto numbers = plc::WalkPageMap(map.data(), 0x400);
    EXPECT_EQ(numbers.size(), 65u);
    EXPECT_EQ(numbers[0], 0x22);
}

struct DirectoryRead : plc::testing::PlcFixture {
    FakePlc plc;
    void SetUp() override {
        PlcFixture::SetUp();
        device.respond([this](const std::string& r) { return plc.Answer(r); });
    }
};

TEST_F(DirectoryRead, ReadsHeadersSortedAndTheConfigurationBlock) {
    plc.MarkSystemPages();
    plc.AddModule(9, "MOTOR", 30, 2, std::string(1500, 'm'), 3);
    plc.AddModule(4, "VALVES", 4, 4, "vv", 12);
    std::string block(512, '\0');
    block.replace(32, 7, "PLANT 1");
    block[206] = 0x25;  // take-over mark set
    block[207] = 0x01;
    plc.SetConfiguration(block);

    plc::ReadPlcDirectory(programmer);
    const plc::PlcState& state = programmer.state();
    EXPECT_EQ(plc.Commands(),
              (std::vector<int>{0x2E, 0x2F, 0x01, 0x01, 0x0A, 0x0A, 0x02, 0x02, 0x02}));
    ASSERT_EQ(state.modules.size(), 2u);
    EXPECT_EQ(state.modules[0].number(), 4);
    EXPECT_EQ(state.modules[0].name(), "VALVES");
    EXPECT_EQ(state.modules[1].name(), "MOTOR");
    EXPECT_EQ(state.modules[1].codeLength(), 1502);
    EXPECT_EQ(state.titleText, "PLANT 1");
    EXPECT_EQ(state.flagsWord, 0x0105);
    EXPECT_EQ(state.configurationBlock[206], 0x25);  // the block keeps the mark
    EXPECT_TRUE(state.identified);
    EXPECT_EQ(frontend.calls().front(), "status: Get SPS directory");
    EXPECT_EQ(frontend.texts("title"), (std::vector<std::string>{"PLANT 1"}));

    // A second read does not identify again; a block without the mark gets the flags word.
    block[206] = 0x04;
    plc.SetConfiguration(block);
    plc.frames.clear();
    plc::ReadPlcDirectory(programmer);
    EXPECT_EQ(plc.Commands().front(), 0x2F);
    EXPECT_EQ(programmer.state().configurationBlock[206], 0x05);
    EXPECT_EQ(programmer.state().configurationBlock[207], 0x01);
}

TEST_F(DirectoryRead, OldFirmwareKeepsTheDefaultsAndAnAbsentBlockIsCleared) {
    plc.firmwareMajor = 1;
    plc.firmwareMinor = 9;
    programmer.state().flagsWord = 0x0300;
    programmer.state().configurationBlock.fill(7);
    programmer.state().titleText = "OLD";
    plc::ReadPlcDirectory(programmer);
    EXPECT_EQ(plc.Commands(), (std::vector<int>{0x2E, 0x01, 0x01}));
    EXPECT_TRUE(programmer.state().modules.empty());
    EXPECT_EQ(programmer.state().infoBlock.pageSize(), 0x0200);
    EXPECT_EQ(programmer.state().titleText, "");
    EXPECT_EQ(programmer.state().configurationBlock[0], 0);
    EXPECT_EQ(programmer.state().configurationBlock[206], 0x00);
    EXPECT_EQ(programmer.state().configurationBlock[207], 0x03);
}

TEST_F(DirectoryRead, BlockAddingUpToZeroCountsAsNoneButGivesItsTitle) {
    // The title and bytes of 0xFF and a last one that make the sum 0x10000.
    std::string block(512, '\0');
    block.replace(32, 7, "PLANT 1");
    unsigned sum = 0;
    for (unsigned char c : block) sum += c;
    for (size_t i = 60; sum < 0x10000; ++i) {
        block[i] = static_cast<char>(std::min(0xFFu, 0x10000 - sum));
        sum += static_cast<unsigned char>(block[i]);
    }
    plc.SetConfiguration(block);
    programmer.state().flagsWord = 0x0042;
    plc::ReadPlcDirectory(programmer);
    EXPECT_EQ(programmer.state().titleText, "PLANT 1");
    EXPECT_EQ(frontend.texts("title"), (std::vector<std::string>{"PLANT 1"}));
    EXPECT_EQ(programmer.state().configurationBlock[32], 0);
    EXPECT_EQ(programmer.state().configurationBlock[100], 0);
    EXPECT_EQ(programmer.state().configurationBlock[206], 0x42);
}

TEST_F(DirectoryRead, SilentPlcIsTriedFiveTimesThenTheDirectoryReadFails) {
    plc.silentAfter = 0;
    try {
        plc::ReadPlcDirectory(programmer);
        FAIL();
    } catch (const plc::CQuarnException& e) {
        EXPECT_EQ(e.message(), "Comunication error:");
    }
    // Five identify attempts; firmware 0.0 then reads no information block.
    EXPECT_EQ(plc.Commands(), (std::vector<int>{0x2E, 0x2E, 0x2E, 0x2E, 0x2E, 0x01}));
    EXPECT_FALSE(programmer.state().identified);
}

}  // namespace
