#include "common/file_helpers.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {
class TempDir : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("filehelpers-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    void write(const fs::path& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    fs::path dir;
};
}  // namespace

TEST(SplitTextLines, AcceptsBothLineEndsAndKeepsEmptyLines) {
    EXPECT_EQ(common::SplitTextLines("a\r\nb\n\nc"), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(common::SplitTextLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_TRUE(common::SplitTextLines("").empty());
    // A carriage return inside a line is data.
    EXPECT_EQ(common::SplitTextLines("a\rb\n"), (std::vector<std::string>{"a\rb"}));
}

TEST_F(TempDir, FindsFilesIgnoringCaseButPrefersTheExactName) {
    write(dir / "MAIN.OB", "x");
    EXPECT_EQ(common::FindFileIgnoringCase(dir / "main.ob"), dir / "MAIN.OB");
    write(dir / "main.ob", "y");
    EXPECT_EQ(common::FindFileIgnoringCase(dir / "main.ob"), dir / "main.ob");
    EXPECT_FALSE(common::FindFileIgnoringCase(dir / "other.ob").has_value());
    EXPECT_FALSE(common::FindFileIgnoringCase(dir / "missing" / "x.ob").has_value());
}

TEST_F(TempDir, ReplacingKeepsTheOldFileUntilCommit) {
    const fs::path target = dir / "module.ob";
    write(target, "old contents");
    {
        common::ReplacingFile file(target);
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.append(std::string("new\0bytes", 9)));
        EXPECT_EQ(common::ReadWholeFile(target), "old contents");
        // Dropped without commit: the old file stays, no temporary file is left.
    }
    EXPECT_EQ(common::ReadWholeFile(target), "old contents");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    ASSERT_TRUE(common::WriteFileReplacing(target, std::string("new\0bytes", 9)));
    EXPECT_EQ(common::ReadWholeFile(target), std::string("new\0bytes", 9));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(TempDir, ReplacingIntoAMissingFolderFailsCleanly) {
    EXPECT_FALSE(common::WriteFileReplacing(dir / "no" / "such" / "file", "x"));
}
