// The simulated PLC's memory model: reads, writes, list reads, module room, headers,
// deletion and the image, driven by requests as the PC sends them.
#include <gtest/gtest.h>

#include <filesystem>

#include "sim/plc/answer_builder.h"
#include "sim/plc/plc_device.h"
#include "sim/plc/plc_faults.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

struct PlcMemoryModel : ::testing::Test {
    sim::PlcDevice device{0x40, 2, 0};

    std::string Ask(std::uint8_t command, const std::string& data) {
        return device.handle(sim::PlcRequest{0x40, command, data, {}});
    }
    // The data of an answer telegram (after its command byte).
    static std::string Data(const std::string& answer) {
        return answer.size() < 10 ? std::string("<none>") : answer.substr(8, answer.size() - 10);
    }
    std::string Reserve(int number, int length) {
        return Data(Ask(0x07, Bytes({number, length & 0xFF, length >> 8})));
    }
    std::string Directory() { return device.memory().read16(0x1000, 279); }
};

TEST_F(PlcMemoryModel, ReadsAnswerWithTheirEchoAndTheBytes) {
    device.memory().write16(0x1234, "abc");
    EXPECT_EQ(Ask(0x01, Bytes({0x34, 0x12, 3})),
              sim::TelegramAnswer(0x40, 0x01, Bytes({0x34, 0x12, 3}) + "abc"));
    EXPECT_EQ(Data(Ask(0x0B, Bytes({0x35, 0x12, 1}))), Bytes({0x35, 0x12, 1}) + "b");
    device.memory().write(0x6000, 0xFFFE, "wxyz");  // wraps within the segment
    EXPECT_EQ(Data(Ask(0x02, Bytes({0xFE, 0xFF, 0x00, 0x60, 4}))),
              Bytes({0xFE, 0xFF, 0x00, 0x60, 4}) + "wxyz");
    EXPECT_EQ(device.memory().read(0x6000, 0, 2), "yz");
    // Malformed or oversized requests get no answer.
    EXPECT_EQ(Ask(0x01, Bytes({0x34, 0x12})), "");
    EXPECT_EQ(Ask(0x02, Bytes({0, 0, 0, 0x60, 250})), "");
}

TEST_F(PlcMemoryModel, ListReadsPackRangesWithAndWithoutSegments) {
    device.memory().write16(0x0100, "ABCD");
    device.memory().write16(0x0200, "E");
    EXPECT_EQ(Data(Ask(0x0D, Bytes({2, 0x00, 0x01, 4, 0x00, 0x02, 1}))), Bytes({5}) + "ABCDE");
    device.memory().write(0x0400, 0x0010, "ij");
    device.memory().write(0xA000, 0x0002, "k");
    EXPECT_EQ(Data(Ask(0x0E, Bytes({3, 0x10, 0, 0x00, 0x04, 2, 0x02, 0, 0x00, 0xA0, 1, 0x01, 0x01,
                                    0, 0, 2}))),
              Bytes({5}) + "ijkBC");
    // The repeat commands read the last list again, with the memory as it is now.
    device.memory().write(0xA000, 0x0002, "K");
    EXPECT_EQ(Data(Ask(0x0C, "")), Bytes({5}) + "ijKBC");
    EXPECT_EQ(Ask(0x0D, Bytes({2, 0x00, 0x01, 4})), "");  // two ranges announced, one sent
}

TEST_F(PlcMemoryModel, ReservationPlacesCodeOnFreePagesAndHeadersApart) {
    // An empty PLC: system pages 0 and 1, then the end of the map.
    EXPECT_EQ(Directory().substr(0, 3), Bytes({0x40, 0x40, 0x00}));
    // 1500 bytes take two pages from page 2: 0x6000 + 2 * 0x40 = 0x6080.
    EXPECT_EQ(Reserve(7, 1500), Bytes({7, 0x00, 0x00, 0x80, 0x60, 0xE0, 0x20, 0x00, 0x00}));
    EXPECT_EQ(Reserve(0, 10), Bytes({1, 0x00, 0x00, 0x00, 0x61, 0x20, 0x20, 0x00, 0x00}));
    EXPECT_EQ(Directory().substr(0, 6), Bytes({0x40, 0x40, 0xC7, 0xC7, 0xC1, 0x00}));

    // A header written with a relative directory code turns the pages to kind 10.
    std::string header(32, '\0');
    header.replace(0, 4, "PUMP");
    header[28] = static_cast<char>(0x87);
    EXPECT_EQ(Ask(0x45, Bytes({0xE0, 0x20, 0x00, 0x00, 32}) + header), sim::AckAnswer());
    EXPECT_EQ(Directory().substr(2, 2), Bytes({0x87, 0x87}));
    EXPECT_EQ(Data(Ask(0x0A, Bytes({7, 0x20, 0, 0}))), Bytes({0xE0, 0x20, 0, 0, 0x20}) + header);

    // Deleting module 7 leaves its pages free inside the map; module 1 stays reachable.
    EXPECT_EQ(Ask(0x42, Bytes({7, 0, 0})), sim::AckAnswer());
    EXPECT_EQ(Directory().substr(0, 6), Bytes({0x40, 0x40, 0x40, 0x40, 0xC1, 0x00}));
    EXPECT_EQ(Data(Ask(0x0A, Bytes({7, 0x20, 0, 0}))).substr(5), std::string(32, '\0'));
    // Freed pages are used again; the same number replaces the module holding it.
    EXPECT_EQ(Reserve(1, 100).substr(0, 5), Bytes({1, 0, 0, 0x80, 0x60}));
    EXPECT_EQ(Directory().substr(0, 5), Bytes({0x40, 0x40, 0xC1, 0x00, 0x00}));
}

TEST_F(PlcMemoryModel, RoomRunsOutAndPageOneTwentyEightIsSkipped) {
    // Three-page modules: 42 fill pages 2..127, the 43rd starts after page 128; there is no
    // 64th number.
    for (int n = 1; n <= 63; ++n) EXPECT_EQ(Reserve(0, 0x400 * 3)[0], n);
    EXPECT_EQ(Reserve(0, 10)[0], 0);
    const std::string map = Directory();
    EXPECT_EQ(map[128], 0x40);
    EXPECT_EQ(static_cast<unsigned char>(map[129]), 0xC0u | 43);
    // A module of 64 pages fits behind them only once; then there is no room.
    EXPECT_EQ(Reserve(5, 0xFFFF)[0], 5);
    EXPECT_EQ(Reserve(6, 0xFFFF)[0], 0);
    EXPECT_EQ(static_cast<unsigned char>(Directory()[17]), 0xC0u | 6);  // module 6 stays
}

TEST_F(PlcMemoryModel, ConfigurationWritesGoIntoTheConfigurationSegment) {
    EXPECT_EQ(Directory()[274], 0);
    EXPECT_EQ(Ask(0x46, Bytes({0xAA, 0x04, 3}) + "cfg"), sim::AckAnswer());
    EXPECT_EQ(device.memory().read(0x6000, 0x04AA, 3), "cfg");
    EXPECT_NE(Directory()[274], 0);
    EXPECT_EQ(Ask(0x46, Bytes({0xAA, 0x04, 4}) + "cfg"), "");  // count and bytes disagree
}

TEST_F(PlcMemoryModel, FaultsAssignZeroAndSpoilTheSum) {
    sim::PlcFaults faults;
    ASSERT_TRUE(faults.parse("assign-zero"));
    ASSERT_TRUE(faults.parse("bad-checksum=3"));
    EXPECT_FALSE(faults.parse("bad-checksum=0"));
    EXPECT_FALSE(faults.parse("bad-checksum=64"));

    Reserve(3, 4);
    // Code 01 02 with its sum 03 00, then the header with the length 4.
    Ask(0x44, Bytes({0x00, 0x00, 0x80, 0x60, 4, 1, 2, 3, 0}));
    sim::PlcMemoryFaults memoryFaults;
    memoryFaults.badChecksum = 3;
    memoryFaults.assignZero = true;
    device.setMemoryFaults(memoryFaults);
    std::string header(32, '\0');
    header[28] = static_cast<char>(0xC3);
    header[30] = 4;
    Ask(0x45, Bytes({0x60, 0x20, 0, 0, 32}) + header);
    EXPECT_EQ(device.memory().read(0x6080, 0, 4), Bytes({1, 2, 4, 0}));
    EXPECT_EQ(Reserve(9, 10), Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(PlcMemoryModel, ImageKeepsTheWholePlc) {
    const auto path = std::filesystem::temp_directory_path() / "plcsim-image-test.bin";
    Reserve(4, 300);
    Ask(0x46, Bytes({0x00, 0x04, 2}) + "kb");
    ASSERT_TRUE(device.memory().saveImage(path));
    sim::PlcDevice other(0x40, 2, 0);
    std::string error;
    ASSERT_TRUE(other.memory().loadImage(path, error)) << error;
    EXPECT_EQ(other.memory().read16(0x1000, 279), Directory());
    EXPECT_EQ(other.memory().read(0x6000, 0x0400, 2), "kb");

    std::filesystem::resize_file(path, 1000);
    EXPECT_FALSE(other.memory().loadImage(path, error));
    EXPECT_NE(error.find("not a PLC image"), std::string::npos);
    std::filesystem::remove(path);
}

TEST_F(PlcMemoryModel, TickHookSeesTheMemoryBeforeEachAnswer) {
    int ticks = 0;
    device.memory().setTickHook([&](sim::PlcMemory& memory, common::Millis) {
        memory.setWord16(0x0300, static_cast<std::uint16_t>(++ticks));
    });
    device.memory().tick(common::Millis(5));
    EXPECT_EQ(Data(Ask(0x01, Bytes({0x00, 0x03, 2}))).substr(3), Bytes({1, 0}));
}

}  // namespace
