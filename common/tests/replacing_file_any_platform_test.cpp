// ReplacingFile where it must behave alike on every platform: a write that is still going on
// is safe from another writer's clean-up of abandoned temporary files, and a finished write
// leaves nothing beside its target.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/file_helpers.h"
#include "common/replacing_file.h"

namespace fs = std::filesystem;

namespace {
std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> out;
    for (const auto& entry : fs::directory_iterator(dir))
        out.push_back(entry.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}
}  // namespace

TEST(ReplacingFileEverywhere, AWriteInProgressSurvivesAnotherWritersCleanUp) {
    const fs::path dir = fs::temp_directory_path() / "replacing-everywhere";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path target = dir / "PUMP.ob";
    std::ofstream(target, std::ios::binary) << "old";

    common::ReplacingFile first(target);
    ASSERT_TRUE(first.open());
    EXPECT_TRUE(first.replacesExisting());
    ASSERT_TRUE(first.append("new contents"));
    // Another write into the same folder removes what dead writers left, not this one's file.
    ASSERT_TRUE(common::WriteFileReplacing(dir / "MOTOR.ob", "other"));
    EXPECT_EQ(common::ReadWholeFile(target), "old");
    ASSERT_TRUE(first.commit());

    EXPECT_EQ(common::ReadWholeFile(target), "new contents");
    EXPECT_EQ(common::ReadWholeFile(dir / "MOTOR.ob"), "other");
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"MOTOR.ob", "PUMP.ob"}));
    fs::remove_all(dir);
}
