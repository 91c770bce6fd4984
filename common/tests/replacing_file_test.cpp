// ReplacingFile against a real folder: what the user finds under the target's name, and what
// is left beside it, after a write that succeeds, is refused, or is cut short by a kill.
#include "common/replacing_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "common/file_helpers.h"

namespace fs = std::filesystem;

namespace {
class Replacing : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("replacing-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, ec);
        fs::remove_all(dir);
    }
    void write(const fs::path& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : fs::directory_iterator(dir))
            out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    // Whether this process may write where the permission bits say it may not (root).
    static bool IgnoresPermissions() { return ::geteuid() == 0; }
    fs::path dir;
};
}  // namespace

TEST_F(Replacing, AReadOnlyTargetIsRefusedAndLeftAsItWas) {
    if (IgnoresPermissions()) GTEST_SKIP() << "running as root";
    const fs::path target = dir / "PUMP.ob";
    write(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(common::ReplaceFileContents(target, "new"), common::ReplaceResult::NotOpened);
    EXPECT_EQ(common::ReadWholeFile(target), "old");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(names(), std::vector<std::string>{"PUMP.ob"});
    // Nor is a folder or a target in a missing folder opened.
    fs::create_directory(dir / "sub.ob");
    EXPECT_EQ(common::ReplaceFileContents(dir / "sub.ob", "x"), common::ReplaceResult::NotOpened);
    EXPECT_EQ(common::ReplaceFileContents(dir / "no" / "x.ob", "x"),
              common::ReplaceResult::NotOpened);
}

TEST_F(Replacing, TheNewFileKeepsTheOldPermissionBitsAndHardLinks) {
    const fs::path target = dir / "anlage.sta";
    write(target, "old");
    const fs::perms bits = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, bits);
    ASSERT_TRUE(common::WriteFileReplacing(target, "new"));
    EXPECT_EQ(common::ReadWholeFile(target), "new");
    EXPECT_EQ(fs::status(target).permissions(), bits);

    // A second name for the same file sees the new contents, as after a plain write.
    fs::create_hard_link(target, dir / "second.sta");
    ASSERT_TRUE(common::WriteFileReplacing(target, "newer"));
    EXPECT_EQ(common::ReadWholeFile(dir / "second.sta"), "newer");
    EXPECT_EQ(fs::hard_link_count(target), 2u);
    EXPECT_EQ(names(), (std::vector<std::string>{"anlage.sta", "second.sta"}));
}

TEST_F(Replacing, AWritableTargetInAFolderWithoutRoomForATemporaryFileIsWrittenInPlace) {
    if (IgnoresPermissions()) GTEST_SKIP() << "running as root";
    const fs::path target = dir / "log.txt";
    write(target, "old contents");
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    {
        common::ReplacingFile file(target);
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.append("new"));
        // Until the contents are complete the old file stays, also in place.
        EXPECT_EQ(common::ReadWholeFile(target), "old contents");
        file.discard();
    }
    EXPECT_EQ(common::ReadWholeFile(target), "old contents");
    EXPECT_TRUE(common::WriteFileReplacing(target, "new"));
    EXPECT_EQ(common::ReadWholeFile(target), "new");
    // A file that does not exist yet can't be made there.
    EXPECT_FALSE(common::WriteFileReplacing(dir / "other.txt", "x"));
}

TEST_F(Replacing, AKilledWriterLeavesTheOldFileAndNothingBesideIt) {
    const fs::path target = dir / "X.pro";
    write(target, "earlier protocol\r\n");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        common::ReplacingFile file(target);
        if (!file.open() || !file.append(std::string(100000, 'p'))) ::_exit(1);
        ::_exit(0);  // no destructor runs, as after a kill
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(common::ReadWholeFile(target), "earlier protocol\r\n");
    EXPECT_EQ(names(), std::vector<std::string>{"X.pro"});
}

TEST_F(Replacing, AHiddenTemporaryFileOfADeadWriterIsRemovedByTheNextWrite) {
    const std::string left = ".X.pro.~incomplete-a1b2c3";
    ASSERT_TRUE(common::IsIncompleteFileName(left));
    EXPECT_FALSE(common::IsIncompleteFileName("X.pro.~incomplete-a1b2c3"));  // not hidden
    EXPECT_FALSE(common::IsIncompleteFileName(".X.pro.~incomplete-a1b2"));
    write(dir / left, "half");
    write(dir / ".notes.~incomplete-draft1.txt", "user data");
    ASSERT_TRUE(common::WriteFileReplacing(dir / "other.pro", "x"));
    EXPECT_EQ(names(), (std::vector<std::string>{".notes.~incomplete-draft1.txt", "other.pro"}));
}

TEST_F(Replacing, ASymbolicLinkStaysAndTheFileItPointsToIsWritten) {
    write(dir / "real.pro", "old");
    fs::create_symlink("real.pro", dir / "link.pro");
    ASSERT_TRUE(common::WriteFileReplacing(dir / "link.pro", "new"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.pro"));
    EXPECT_EQ(common::ReadWholeFile(dir / "real.pro"), "new");
}
