#include "plc_tool/core/watch_csv.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_helpers.h"

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

}  // namespace
