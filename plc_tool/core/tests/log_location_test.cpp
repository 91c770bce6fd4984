// Where log.txt goes for a program file in a build tree, in a folder of its own and
// installed under a prefix, on fake program folders in a temporary tree.
#include "plc_tool/core/log_location.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using quarnwin::ChooseLogFolder;
using quarnwin::IsInsideProgramFiles;
using quarnwin::IsInstalledUnderPrefix;

namespace {

class LogLocation : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ =
            fs::temp_directory_path() /
            ("log-location-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path folder(const fs::path& relative) {
        fs::create_directories(root_ / relative);
        return root_ / relative;
    }

    fs::path root_;
};

TEST_F(LogLocation, OnlyABinFolderBesideAShareFolderCountsAsInstalled) {
    const fs::path user = folder("home/.local/share/Hadrel/QuarnWin");
    const fs::path prefixBin = folder("usr/local/bin");
    folder("usr/local/share");
    EXPECT_TRUE(IsInstalledUnderPrefix(prefixBin));
    EXPECT_TRUE(IsInstalledUnderPrefix(prefixBin.string() + "/"));
    EXPECT_TRUE(IsInstalledUnderPrefix(root_ / "usr/local/share/../bin"));
    // Installed: the per-user folder even when the program could write beside itself (root).
    EXPECT_EQ(ChooseLogFolder(prefixBin, true, user), user);

    // A build tree, a folder of its own, and a bin/ folder with no share/ beside it.
    for (const char* own : {"build/plc_tool", "opt/quarnwin", "tools/bin"}) {
        const fs::path program = folder(own);
        EXPECT_FALSE(IsInstalledUnderPrefix(program)) << own;
        EXPECT_EQ(ChooseLogFolder(program, true, user), program) << own;
        EXPECT_EQ(ChooseLogFolder(program, false, user), user) << own;
    }
    // A file named "share" is not a prefix's share folder.
    const fs::path fake = folder("fake/bin");
    std::ofstream(root_ / "fake/share") << "x";
    EXPECT_FALSE(IsInstalledUnderPrefix(fake));
    // The program folder unknown.
    EXPECT_EQ(ChooseLogFolder({}, true, user), user);
}

TEST(ProgramFiles, AProgramInsideAProgramFilesFolderCountsAsInstalled) {
    const std::vector<fs::path> folders{"", "C:/Program Files/", "C:/Program Files (x86)"};
    EXPECT_TRUE(IsInsideProgramFiles("C:/Program Files/Hadrel/Service Suite", folders));
    EXPECT_TRUE(IsInsideProgramFiles("c:/PROGRAM FILES/hadrel/Service Suite/", folders));
    EXPECT_TRUE(IsInsideProgramFiles("C:/Program Files (x86)/Tools", folders));
    EXPECT_TRUE(IsInsideProgramFiles("C:/Program Files/Tools/../Hadrel", folders));
    // A name that merely begins like the folder's, another drive, a parent, no folders: the
    // empty entry (an unset variable) must not stand for every folder.
    EXPECT_FALSE(IsInsideProgramFiles("C:/Program Files Tools/Hadrel", folders));
    EXPECT_FALSE(IsInsideProgramFiles("D:/Program Files/Hadrel", folders));
    EXPECT_FALSE(IsInsideProgramFiles("C:/Tools", folders));
    EXPECT_FALSE(IsInsideProgramFiles("C:/Program Files/../Tools", folders));
    EXPECT_FALSE(IsInsideProgramFiles("C:/Program Files/Hadrel", {""}));
}

#ifdef _WIN32
// Run as an administrator, an installed program could write its folder; its log still goes
// to the per-user folder, so that uninstalling takes nothing of the user's and leaves nothing.
TEST_F(LogLocation, AProgramUnderProgramFilesLogsInTheUserFolderEvenWhenItCouldWriteItsOwn) {
    const std::wstring saved = _wgetenv(L"ProgramW6432") ? _wgetenv(L"ProgramW6432") : L"";
    const fs::path programFiles = folder("Program Files");
    _wputenv_s(L"ProgramW6432", programFiles.c_str());
    const fs::path user = folder("AppData/Local/Hadrel/QuarnWin");
    EXPECT_EQ(ChooseLogFolder(folder("Program Files/Hadrel/Service Suite"), true, user), user);
    const fs::path own = folder("Tools/Service Suite");
    EXPECT_EQ(ChooseLogFolder(own, true, user), own);
    _wputenv_s(L"ProgramW6432", saved.c_str());
}
#else
TEST_F(LogLocation, UserDataFolderFollowsTheXdgVariablesAsTheDialogDoes) {
    const char* savedXdg = std::getenv("XDG_DATA_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string xdg = savedXdg ? savedXdg : "", home = savedHome ? savedHome : "";

    setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    EXPECT_EQ(quarnwin::UserDataFolder(), root_ / "data/Hadrel/QuarnWin");
    setenv("HOME", root_.c_str(), 1);
    setenv("XDG_DATA_HOME", "", 1);
    EXPECT_EQ(quarnwin::UserDataFolder(), root_ / ".local/share/Hadrel/QuarnWin");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(quarnwin::UserDataFolder(), root_ / ".local/share/Hadrel/QuarnWin");
    unsetenv("HOME");
    EXPECT_TRUE(quarnwin::UserDataFolder().empty());

    savedXdg ? setenv("XDG_DATA_HOME", xdg.c_str(), 1) : unsetenv("XDG_DATA_HOME");
    savedHome ? setenv("HOME", home.c_str(), 1) : unsetenv("HOME");
}
#endif

}  // namespace
