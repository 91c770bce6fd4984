#include "plc/transfer/block_transfer.h"

#include <gtest/gtest.h>

#include "plc/frame.h"
#include "plc_fixture.h"

using common::Millis;
using plc::BlockDescriptor;
using plc::BlockResult;
using plc::ListItem;
using plc::testing::AnswerTelegram;
using plc::testing::Bytes;

namespace {

// The byte at a 16-bit address (or segment:offset) of a made-up memory, so answers can be
// checked against what was asked.
char MemoryByte(unsigned segment, unsigned address) {
    return static_cast<char>((address * 7 + segment / 16 + 3) & 0xFF);
}

std::string MemoryBytes(unsigned segment, unsigned address, unsigned count) {
    std::string out;
    for (unsigned i = 0; i < count; ++i) out += MemoryByte(segment, (address + i) & 0xFFFF);
    return out;
}

unsigned Word(const std::string& frame, size_t at) {
    return static_cast<unsigned char>(frame[at]) | (static_cast<unsigned char>(frame[at + 1]) << 8);
}
unsigned ByteAt(const std::string& frame, size_t at) {
    return static_cast<unsigned char>(frame[at]);
}

struct BlockTransfer : plc::testing::PlcFixture {
    // Answers the memory and list reads from MemoryBytes, and acknowledges writes.
    void AnswerFromMemory() {
        device.respond([](const std::string& request) -> std::string {
            const std::uint8_t code = CommandOf(request);
            switch (code) {
                case 0x01:
                case 0x0B: {
                    unsigned address = Word(request, 8), count = ByteAt(request, 10);
                    return AnswerTelegram(code,
                                          request.substr(8, 3) + MemoryBytes(0, address, count));
                }
                case 0x02: {
                    unsigned offset = Word(request, 8), segment = Word(request, 10),
                             count = ByteAt(request, 12);
                    return AnswerTelegram(
                        code, request.substr(8, 5) + MemoryBytes(segment, offset, count));
                }
                case 0x0D:
                case 0x0E: {
                    const size_t rangeSize = code == 0x0D ? 3 : 5;
                    std::string bytes;
                    for (unsigned r = 0; r < ByteAt(request, 8); ++r) {
                        size_t at = 9 + r * rangeSize;
                        unsigned segment = code == 0x0D ? 0 : Word(request, at + 2);
                        bytes += MemoryBytes(segment, Word(request, at),
                                             ByteAt(request, at + rangeSize - 1));
                    }
                    return AnswerTelegram(code,
                                          std::string(1, static_cast<char>(bytes.size())) + bytes);
                }
                default:
                    return "\xE5";
            }
        });
    }
};

TEST_F(BlockTransfer, DirectoryReadIsCutInto240ByteChunksWithItsPauses) {
    AnswerFromMemory();
    std::string directory;
    EXPECT_EQ(plc::ReadBlock(programmer, 0x01, BlockDescriptor{0x1000, 279, 0}, directory),
              BlockResult::kDone);
    ASSERT_EQ(device.writes().size(), 2u);
    EXPECT_EQ(device.writes()[0], plc::MakeFrame(0x40, 0x01, Bytes({0x00, 0x10, 240})));
    EXPECT_EQ(device.writes()[1], plc::MakeFrame(0x40, 0x01, Bytes({0xF0, 0x10, 39})));
    EXPECT_EQ(directory, MemoryBytes(0, 0x1000, 279));
    // 100 ms before each request and 100 ms after it.
    const auto& sleeps = clock.sleeps();
    ASSERT_GE(sleeps.size(), 4u);
    EXPECT_EQ(std::vector<Millis>(sleeps.end() - 4, sleeps.end()),
              (std::vector<Millis>{Millis(100), Millis(100), Millis(100), Millis(100)}));
    EXPECT_EQ(device.writeTimes()[1] - device.writeTimes()[0], Millis(200));
}

TEST_F(BlockTransfer, SegmentReadShowsProgressAndWrapsItsOffset) {
    AnswerFromMemory();
    plc::ModuleEntry entry;
    const char name[] = "PUMP";
    std::copy(name, name + 4, entry.bytes.begin());
    entry.bytes[plc::entry::kNumber] = 7;
    std::string block;
    EXPECT_EQ(plc::ReadBlock(programmer, 0x02, BlockDescriptor{0xFF00, 300, 0x6000}, block, &entry),
              BlockResult::kDone);
    ASSERT_EQ(device.writes().size(), 2u);
    EXPECT_EQ(device.writes()[0], plc::MakeFrame(0x40, 0x02, Bytes({0x00, 0xFF, 0x00, 0x60, 240})));
    // The offset wraps within the segment.
    EXPECT_EQ(device.writes()[1], plc::MakeFrame(0x40, 0x02, Bytes({0xF0, 0xFF, 0x00, 0x60, 60})));
    EXPECT_EQ(block, MemoryBytes(0x6000, 0xFF00, 240) + MemoryBytes(0x6000, 0xFFF0, 60));
    EXPECT_EQ(frontend.texts("status"),
              (std::vector<std::string>{" 7        PUMP       240 of      300 Bytes transfered",
                                        " 7        PUMP       300 of      300 Bytes transfered"}));
    // The counter reaches the front end as numbers, not only as a text.
    ASSERT_EQ(frontend.progressReports().size(), 2u);
    EXPECT_EQ(frontend.progressReports()[0].label, "PUMP");
    EXPECT_EQ(frontend.progressReports()[0].done, 240);
    EXPECT_EQ(frontend.progressReports()[1].done, 300);
    EXPECT_EQ(frontend.progressReports()[1].total, 300);
}

TEST_F(BlockTransfer, ReadResultsForZeroLengthSilenceShortAndLongAnswers) {
    std::string bytes = "old";
    EXPECT_EQ(plc::ReadBlock(programmer, 0x0B, BlockDescriptor{0x2000, 0, 0}, bytes),
              BlockResult::kDone);
    EXPECT_TRUE(device.writes().empty());
    EXPECT_TRUE(bytes.empty());

    // The second chunk gets no answer: 0xFE, the first chunk's bytes stay.
    int requests = 0;
    device.respond([&](const std::string& request) -> std::string {
        if (++requests > 1) return {};
        return AnswerTelegram(0x01, request.substr(8, 3) + std::string(240, 'x'));
    });
    EXPECT_EQ(plc::ReadBlock(programmer, 0x01, BlockDescriptor{0x2000, 250, 0}, bytes),
              BlockResult::kFailed);
    EXPECT_EQ(bytes, std::string(240, 'x'));

    // An answer with fewer bytes than asked would shift the rest: failed.
    device.respond([&](const std::string& request) {
        return AnswerTelegram(0x01, request.substr(8, 2) + Bytes({3}) + "abc");
    });
    EXPECT_EQ(plc::ReadBlock(programmer, 0x01, BlockDescriptor{0x2000, 4, 0}, bytes),
              BlockResult::kFailed);

    // More bytes than asked: stored, result 2.
    device.respond([&](const std::string& request) {
        return AnswerTelegram(0x01, request.substr(8, 2) + Bytes({6}) + "abcdef");
    });
    EXPECT_EQ(plc::ReadBlock(programmer, 0x01, BlockDescriptor{0x2000, 4, 0}, bytes),
              BlockResult::kTooMany);
    EXPECT_EQ(bytes, "abcdef");
}

TEST_F(BlockTransfer, ListItemsAreMergedIntoRanges) {
    AnswerFromMemory();
    std::vector<ListItem> list{{0x0100, 2}, {0x0102, 2}, {0x0200, 1}, {0, 0}, {0x0300, 9}};
    std::string bytes;
    EXPECT_EQ(plc::ReadBlock(programmer, 0x0D, list, bytes), BlockResult::kDone);
    ASSERT_EQ(device.writes().size(), 1u);
    EXPECT_EQ(device.writes()[0],
              plc::MakeFrame(0x40, 0x0D, Bytes({2, 0x00, 0x01, 4, 0x00, 0x02, 1})));
    EXPECT_EQ(bytes, MemoryBytes(0, 0x0100, 4) + MemoryBytes(0, 0x0200, 1));
    for (const ListItem& item : list) EXPECT_FALSE(item.continueMark);

    // The repeat commands of older PLCs go out as the same list request.
    device.clearWrites();
    EXPECT_EQ(plc::ReadBlock(programmer, 0x03, list, bytes), BlockResult::kDone);
    EXPECT_EQ(CommandOf(device.writes().at(0)), 0x0D);
}

TEST_F(BlockTransfer, ListRequestsStopAtEightyRangesAndBelow240Bytes) {
    AnswerFromMemory();
    // 81 separate one-byte items: 80 ranges, then one.
    std::vector<ListItem> list;
    for (unsigned i = 0; i < 81; ++i)
        list.push_back({static_cast<std::uint16_t>(0x1000 + 2 * i), 1});
    std::string bytes;
    EXPECT_EQ(plc::ReadBlock(programmer, 0x0D, list, bytes), BlockResult::kDone);
    ASSERT_EQ(device.writes().size(), 2u);
    EXPECT_EQ(ByteAt(device.writes()[0], 8), 80u);
    EXPECT_EQ(ByteAt(device.writes()[0], 1), 3u * 80 + 5);
    EXPECT_EQ(device.writes()[1], plc::MakeFrame(0x40, 0x0D, Bytes({1, 0xA0, 0x10, 1})));
    EXPECT_EQ(bytes.size(), 81u);
    EXPECT_EQ(bytes[80], MemoryByte(0, 0x10A0));

    // Contiguous items of 100 bytes: the third would make 300, so it starts the next request.
    device.clearWrites();
    list = {{0x2000, 100}, {0x2064, 100}, {0x20C8, 100}};
    EXPECT_EQ(plc::ReadBlock(programmer, 0x0D, list, bytes), BlockResult::kDone);
    ASSERT_EQ(device.writes().size(), 2u);
    EXPECT_EQ(device.writes()[0], plc::MakeFrame(0x40, 0x0D, Bytes({1, 0x00, 0x20, 200})));
    EXPECT_EQ(device.writes()[1], plc::MakeFrame(0x40, 0x0D, Bytes({1, 0xC8, 0x20, 100})));
    EXPECT_EQ(bytes, MemoryBytes(0, 0x2000, 300));

    // An item of 240 bytes or more can't be packed whole: it is split.
    device.clearWrites();
    list = {{0x3000, 500}, {0x4000, 2}};
    EXPECT_EQ(plc::ReadBlock(programmer, 0x0D, list, bytes), BlockResult::kDone);
    ASSERT_EQ(device.writes().size(), 3u);
    EXPECT_EQ(device.writes()[1], plc::MakeFrame(0x40, 0x0D, Bytes({1, 0xEF, 0x30, 239})));
    EXPECT_EQ(device.writes()[2],
              plc::MakeFrame(0x40, 0x0D, Bytes({2, 0xDE, 0x31, 22, 0x00, 0x40, 2})));
    EXPECT_EQ(bytes, MemoryBytes(0, 0x3000, 500) + MemoryBytes(0, 0x4000, 2));
}

TEST_F(BlockTransfer, ListAnswerOfTheWrongSizeOrMissingFails) {
    std::vector<ListItem> list{{0x0100, 2}, {0x0200, 1}};
    device.respond([](const std::string&) { return AnswerTelegram(0x0D, Bytes({4, 1, 2, 3, 4})); });
    std::string bytes;
    EXPECT_EQ(plc::ReadBlock(programmer, 0x0D, list, bytes), BlockResult::kFailed);
    EXPECT_TRUE(bytes.empty());

    device.respond([](const std::string&) { return std::string(); });
    Millis before = clock.now();
    EXPECT_EQ(plc::ReadBlock(programmer, 0x0E, list, bytes), BlockResult::kFailed);
    EXPECT_EQ(clock.now() - before, Millis(100 + 100 + 2000));
}

TEST_F(BlockTransfer, SegmentListCarriesEachRangesSegmentWord) {
    AnswerFromMemory();
    std::vector<ListItem> list{
        {0x0010, 2, 0x0400}, {0x0012, 2, 0x0400}, {0x0014, 2, 0x3000}, {0x0020, 1, 0}};
    std::string bytes;
    EXPECT_EQ(plc::ReadBlock(programmer, 0x0E, list, bytes), BlockResult::kDone);
    ASSERT_EQ(device.writes().size(), 1u);
    EXPECT_EQ(device.writes()[0], plc::MakeFrame(0x40, 0x0E,
                                                 Bytes({3, 0x10, 0x00, 0x00, 0x04, 4,  //
                                                        0x14, 0x00, 0x00, 0x30, 2,     //
                                                        0x20, 0x00, 0x00, 0x00, 1})));
    EXPECT_EQ(bytes, MemoryBytes(0x0400, 0x10, 4) + MemoryBytes(0x3000, 0x14, 2) +
                         MemoryBytes(0, 0x20, 1));

    // 50 separate items need two requests: 49 ranges fit one.
    device.clearWrites();
    list.clear();
    for (unsigned i = 0; i < 50; ++i)
        list.push_back({static_cast<std::uint16_t>(0x100 + 4 * i), 1, 0xA000});
    EXPECT_EQ(plc::ReadBlock(programmer, 0x0E, list, bytes), BlockResult::kDone);
    ASSERT_EQ(device.writes().size(), 2u);
    EXPECT_EQ(ByteAt(device.writes()[0], 1), 5u * 49 + 5);
    EXPECT_EQ(bytes.size(), 50u);
}

TEST_F(BlockTransfer, SegmentWriteIsCutInto128ByteTelegramsWithProgress) {
    AnswerFromMemory();
    std::string code(512, '\0');
    for (size_t i = 0; i < code.size(); ++i) code[i] = static_cast<char>(i);
    EXPECT_EQ(
        plc::WriteBlock(programmer, 0x44, BlockDescriptor{0x0800, 512, 0x6000}, code, "PUMP.ob"),
        0);
    ASSERT_EQ(device.writes().size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const std::string& w = device.writes()[i];
        EXPECT_EQ(ByteAt(w, 1), 137u);
        EXPECT_EQ(Word(w, 8), 0x0800 + 128 * i);
        EXPECT_EQ(Word(w, 10), 0x6000u);
        EXPECT_EQ(ByteAt(w, 12), 128u);
        EXPECT_EQ(w.substr(13, 128), code.substr(128 * i, 128));
    }
    EXPECT_EQ(frontend.texts("status"),
              (std::vector<std::string>{"   PUMP.ob       128 of      512 Bytes transfered",
                                        "   PUMP.ob       256 of      512 Bytes transfered",
                                        "   PUMP.ob       384 of      512 Bytes transfered",
                                        "   PUMP.ob       512 of      512 Bytes transfered"}));
    ASSERT_EQ(frontend.progressReports().size(), 4u);
    EXPECT_EQ(frontend.progressReports()[3].label, "PUMP.ob");
    EXPECT_EQ(frontend.progressReports()[3].done, frontend.progressReports()[3].total);
    // 100 ms before each telegram, 60 ms after it, then the acknowledgement.
    EXPECT_EQ(device.writeTimes()[1] - device.writeTimes()[0], Millis(160));

    // 0x45 shows nothing; a header is one telegram.
    frontend.clear();
    device.clearWrites();
    EXPECT_EQ(plc::WriteBlock(programmer, 0x45, BlockDescriptor{0x2000, 32, 0}, code, "x"), 0);
    EXPECT_EQ(device.writes().size(), 1u);
    EXPECT_TRUE(frontend.texts("status").empty());
}

TEST_F(BlockTransfer, ConfigurationWriteUses240ByteTelegramsAndThrowsWithoutAck) {
    AnswerFromMemory();
    std::string block(300, 'k');
    EXPECT_EQ(plc::WriteBlock(programmer, 0x46, BlockDescriptor{0x0400, 300, 0}, block), 0);
    ASSERT_EQ(device.writes().size(), 2u);
    EXPECT_EQ(device.writes()[0].substr(0, 11),
              Bytes({0x68, 247, 247, 0x68, 0x40, 0xFF, 0x04, 0x46, 0x00, 0x04, 240}));
    EXPECT_EQ(device.writes()[1].substr(8, 3), Bytes({0xF0, 0x04, 60}));

    device.clearWrites();
    int n = 0;
    device.respond([&](const std::string&) { return std::string(++n == 1 ? "\xE5" : ""); });
    try {
        plc::WriteBlock(programmer, 0x46, BlockDescriptor{0x0400, 300, 0}, block);
        FAIL();
    } catch (const plc::CQuarnException& e) {
        EXPECT_EQ(e.message(), "Comunication error: Timeout");
    }
    EXPECT_EQ(device.writes().size(), 2u);
    EXPECT_EQ(plc::WriteBlock(programmer, 0x46, BlockDescriptor{0x0400, 0, 0}, block), 0);
    EXPECT_EQ(device.writes().size(), 2u);
}

}  // namespace
