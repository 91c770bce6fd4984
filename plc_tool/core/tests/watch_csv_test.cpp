#include "plc_tool/core/watch_csv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "common/file_helpers.h"
#include "common/utf8_path.h"

namespace {

TEST(WatchCsv, FieldsAreQuotedOnlyWhenTheyMustBe) {
    EXPECT_EQ(quarnwin::CsvField("  1234"), "  1234");
    EXPECT_EQ(quarnwin::CsvField("1,5"), "\"1,5\"");
    EXPECT_EQ(quarnwin::CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
}

TEST(WatchCsv, HeaderFirstAndAgainWhenTheOperandsChange) {
    const auto path = std::filesystem::temp_directory_path() / "watch_csv_test.csv";
    std::filesystem::remove(path);
    monitor::DisplayPage page;
    page.usedCells = 2;
    page.cells[0] = {"Counter", "MW200", "12"};
    page.cells[1] = {"", "M210.1", "1"};
    const auto when = std::chrono::system_clock::from_time_t(0) + std::chrono::milliseconds(7);
    {
        quarnwin::WatchCsv csv;
        ASSERT_TRUE(csv.Open(path));
        ASSERT_TRUE(csv.WriteRow(page, when));
        page.cells[0].value = "13";
        ASSERT_TRUE(csv.WriteRow(page, when));
        page.cells[1].operand = "M210.2";
        ASSERT_TRUE(csv.WriteRow(page, when));
    }
    const std::string time = quarnwin::CsvTime(when);
    EXPECT_EQ(time.substr(time.size() - 4), ".007");
    EXPECT_EQ(common::ReadWholeFile(path).value_or(""),
              "Time,MW200,M210.1\r\n" + time + ",12,1\r\n" + time + ",13,1\r\n" +
                  "Time,MW200,M210.2\r\n" + time + ",13,1\r\n");
    std::filesystem::remove(path);
}

// A folder named outside any one 8-bit code page, the file appended to, not replaced.
TEST(WatchCsv, AppendsInAFolderWithANonAsciiName) {
    const auto folder = std::filesystem::temp_directory_path() /
                        common::PathFromUtf8("J\xC3\xBCrgen-\xD0\xA1\xD0\xBF\xD1\x81");
    std::filesystem::create_directories(folder);
    const auto path = folder / "watch.csv";
    std::filesystem::remove(path);
    monitor::DisplayPage page;
    page.usedCells = 1;
    page.cells[0] = {"", "MW200", "12"};
    for (int run = 0; run < 2; ++run) {
        quarnwin::WatchCsv csv;
        ASSERT_TRUE(csv.Open(path));
        ASSERT_TRUE(csv.WriteRow(page, std::chrono::system_clock::now()));
    }
    const std::string text = common::ReadWholeFile(path).value_or("");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
    std::filesystem::remove_all(folder);
}

}  // namespace
