#include "plc/transfer/staged_files.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

struct Staging : ::testing::Test {
    fs::path folder;
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("plc-staged-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder / "a");
        fs::create_directories(folder / "b");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    void Write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const fs::path& path) {
        return common::ReadWholeFile(path).value_or("<missing>");
    }
    std::vector<std::string> Names(const fs::path& dir) const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(Staging, AllGoInPlaceTogether) {
    Write(folder / "a" / "one.ob", "old one");
    plc::StagedFiles files;
    ASSERT_TRUE(files.Stage(folder / "a" / "one.ob", "new one"));
    ASSERT_TRUE(files.Stage(folder / "a" / "two.ob", "new two"));
    EXPECT_EQ(Read(folder / "a" / "one.ob"), "old one");  // nothing in place before the commit
    EXPECT_TRUE(files.CommitAll());
    EXPECT_EQ(Read(folder / "a" / "one.ob"), "new one");
    EXPECT_EQ(Read(folder / "a" / "two.ob"), "new two");
    EXPECT_EQ(Names(folder / "a"), (std::vector<std::string>{"one.ob", "two.ob"}));
}

TEST_F(Staging, ALaterFileThatCannotGoInPlacePutsTheEarlierOnesBack) {
    Write(folder / "a" / "one.ob", "old one");
    Write(folder / "a" / "one.kb", "old block");
    plc::StagedFiles files;
    ASSERT_TRUE(files.Stage(folder / "a" / "one.ob", "new one"));
    ASSERT_TRUE(files.Stage(folder / "a" / "new.ob", "new module"));
    ASSERT_TRUE(files.Stage(folder / "a" / "one.kb", "new block"));
    ASSERT_TRUE(files.Stage(folder / "b" / "last.pr", "new project"));
    // A folder takes the last file's name before the files are put in place.
    fs::create_directories(folder / "b" / "last.pr");
    EXPECT_FALSE(files.CommitAll());
    EXPECT_FALSE(files.putBackFailed());
    EXPECT_EQ(Read(folder / "a" / "one.ob"), "old one");
    EXPECT_EQ(Read(folder / "a" / "one.kb"), "old block");
    EXPECT_EQ(Names(folder / "a"), (std::vector<std::string>{"one.kb", "one.ob"}));
    EXPECT_EQ(files.size(), 0u);
}

}  // namespace
