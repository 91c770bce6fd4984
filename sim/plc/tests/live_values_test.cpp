#include "sim/plc/live_values.h"

#include <gtest/gtest.h>

#include <fstream>

using common::Millis;

namespace {
std::filesystem::path WriteFile(const std::string& name, const std::string& text) {
    std::filesystem::path path = std::filesystem::path(::testing::TempDir()) / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}
}  // namespace

TEST(LiveValues, CounterToggleAndRampFollowTheTime) {
    sim::PlcMemory memory;
    memory.setByteAt(sim::live::kToggleAddress, 0xF0);
    sim::InstallLiveValues(memory);
    memory.tick(Millis(5000));  // the first tick is the start
    EXPECT_EQ(memory.word16(sim::live::kCounterAddress), 0);
    memory.tick(Millis(5000 + 1250));
    EXPECT_EQ(memory.word16(sim::live::kCounterAddress), 12);
    EXPECT_EQ(memory.byteAt(sim::live::kToggleAddress), 0xF0);  // 1250 ms: second half-period
    memory.tick(Millis(5000 + 1500));
    EXPECT_EQ(memory.byteAt(sim::live::kToggleAddress), 0xF1);
    EXPECT_EQ(memory.read16(sim::live::kRampAddress, 4), std::string("\x60\xE3\x16\x00", 4));
    // Nothing moved: the memory does not count a change.
    const std::uint64_t changes = memory.changes();
    memory.tick(Millis(5000 + 1500));
    EXPECT_EQ(memory.changes(), changes);
}

TEST(MemoryFile, WritesBytesAndTextsInBothAddressForms) {
    sim::PlcMemory memory;
    std::string error;
    auto path = WriteFile("memory_ok.txt",
                          "# demo\n\n0400 \"Quarn OK\" 00  # message\n3000:0022 03 0a\r\n");
    ASSERT_TRUE(sim::LoadMemoryFile(path, memory, error)) << error;
    EXPECT_EQ(memory.read16(0x0400, 9), std::string("Quarn OK\0", 9));
    EXPECT_EQ(memory.read(0x3000, 0x0022, 2), "\x03\x0A");
}

TEST(MemoryFile, MalformedLinesAndMissingFilesAreReported) {
    sim::PlcMemory memory;
    std::string error;
    EXPECT_FALSE(
        sim::LoadMemoryFile(WriteFile("memory_bad.txt", "0400 01\n0500 1FF\n"), memory, error));
    EXPECT_NE(error.find("memory_bad.txt:2:"), std::string::npos) << error;
    EXPECT_EQ(memory.read16(0x0400, 1), "\x01");
    EXPECT_FALSE(
        sim::LoadMemoryFile(WriteFile("memory_quote.txt", "0400 \"open\n"), memory, error));
    EXPECT_FALSE(sim::LoadMemoryFile(WriteFile("memory_addr.txt", "10000 01\n"), memory, error));
    EXPECT_FALSE(sim::LoadMemoryFile("/nonexistent/memory.txt", memory, error));
    EXPECT_EQ(error, "cannot read /nonexistent/memory.txt");
}
