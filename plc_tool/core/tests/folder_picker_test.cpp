// The folder dialog's decisions on a temporary folder tree: type-ahead, the checks of the
// "Open" button and Enter, creating missing folders, and the result's trailing separator.
#include "plc_tool/core/folder_picker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/recording_frontend.h"

namespace fs = std::filesystem;
using quarnwin::FolderField;
using quarnwin::FolderPicker;
using Decision = quarnwin::FolderPicker::Decision;

namespace {

// The dialog as the picker sees it, with typing as the field does it: a character replaces
// the selection and leaves the caret after it.
struct FakeView : quarnwin::FolderPickerView {
    FolderField current;
    std::string shown;
    std::string focus;

    FolderField field() const override { return current; }
    void setField(const FolderField& f) override { current = f; }
    void showFolder(const std::string& folder) override { shown = folder; }
    void focusField() override { focus = "field"; }
    void focusOpenButton() override { focus = "open"; }

    void Type(FolderPicker& picker, const std::string& text) {
        for (char c : text) {
            current.text.replace(current.selectionStart,
                                 current.selectionEnd - current.selectionStart, 1, c);
            current.selectionStart = current.selectionEnd = current.selectionStart + 1;
            picker.AfterCharacter(c);
        }
    }
    void Set(const std::string& text) { current = FolderField{text, text.size(), text.size()}; }
    std::string Selected() const {
        return current.text.substr(current.selectionStart,
                                   current.selectionEnd - current.selectionStart);
    }
};

struct FolderPickerTest : ::testing::Test {
    fs::path root;
    FakeView view;
    common::RecordingFrontend frontend;
    FolderPicker picker{view, frontend, quarnwin::FolderPathStyle::Posix()};

    void SetUp() override {
        root =
            fs::temp_directory_path() /
            ("folder_picker_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "PROGRAMME" / "inner");
        fs::create_directories(root / "data");
        std::ofstream(root / "PROGRESS.txt") << "a file, not a folder";
        std::ofstream(root / "notes.txt") << "x";
        picker.Start(root.string(), "/");
    }
    void TearDown() override { fs::remove_all(root); }
    // The POSIX style writes '/' between names on every file system.
    std::string Root() const { return root.generic_string() + "/"; }
};

}  // namespace

TEST_F(FolderPickerTest, StartShowsTheInitialFolderWithSeparatorAndFallsBackToTheWorkingFolder) {
    EXPECT_EQ(view.current.text, Root());
    EXPECT_EQ(view.shown, Root());
    EXPECT_EQ(picker.Folder(), Root());
    EXPECT_TRUE(view.current.CaretAtEnd());

    FakeView other;
    FolderPicker missing(other, frontend, quarnwin::FolderPathStyle::Posix());
    missing.Start((root / "absent").string(), root.string());
    EXPECT_EQ(missing.Folder(), Root());
}

TEST_F(FolderPickerTest, TypeAheadCompletesTheOnlyMatchingFolderAndSelectsTheRest) {
    view.Set(Root());
    view.Type(picker, "PROG");
    EXPECT_EQ(view.current.text, Root() + "PROGRAMME");
    EXPECT_EQ(view.Selected(), "RAMME");
    // Typing on replaces the selection and completes again.
    view.Type(picker, "R");
    EXPECT_EQ(view.current.text, Root() + "PROGRAMME");
    EXPECT_EQ(view.Selected(), "AMME");
    // Relative to the browser's folder as well.
    view.Set("");
    view.Type(picker, "da");
    EXPECT_EQ(view.current.text, "data");
    EXPECT_EQ(view.Selected(), "ta");
}

TEST_F(FolderPickerTest, TypeAheadAppendsNothingForTwoFoldersOrAfterBackspaceOrInsideTheText) {
    fs::create_directories(root / "PROGRAMS");
    view.Set(Root());
    view.Type(picker, "PROG");
    EXPECT_EQ(view.current.text, Root() + "PROG");
    EXPECT_EQ(view.Selected(), "");

    fs::remove_all(root / "PROGRAMS");
    view.Set(Root() + "PROGX");
    view.current.text.pop_back();
    view.current.selectionStart = view.current.selectionEnd = view.current.text.size();
    picker.AfterCharacter('\b');
    EXPECT_EQ(view.current.text, Root() + "PROG");

    view.Set(Root() + "PROG");
    view.current.selectionStart = view.current.selectionEnd = 2;
    picker.AfterCharacter('x');
    EXPECT_EQ(view.current.text, Root() + "PROG");
}

TEST_F(FolderPickerTest, ASeparatorAfterAnExistingFolderEntersIt) {
    view.Set(Root() + "PROGRAMME");
    view.Type(picker, "/");
    EXPECT_EQ(view.shown, Root() + "PROGRAMME/");
    EXPECT_EQ(picker.Folder(), Root() + "PROGRAMME/");
    EXPECT_EQ(view.current.text, Root() + "PROGRAMME/");
    EXPECT_TRUE(view.current.CaretAtEnd());
    // The root alone enters the root.
    view.Set("");
    view.Type(picker, "/");
    EXPECT_EQ(picker.Folder(), "/");
}

TEST_F(FolderPickerTest, ARelativeNameThatLedIntoAFolderIsReplacedByItsPath) {
    view.Set("data/");
    picker.AfterCharacter('/');
    EXPECT_EQ(picker.Folder(), Root() + "data/");
    EXPECT_EQ(view.current.text, Root() + "data/");
    // Open now accepts that folder, instead of looking for data/data.
    EXPECT_EQ(picker.Open(), Decision::Accept);
    EXPECT_EQ(picker.Folder(), Root() + "data/");
    EXPECT_TRUE(frontend.texts("ask").empty());
}

TEST_F(FolderPickerTest, OpenAcceptsExistingFoldersTheRootAndAnEmptyField) {
    view.Set(Root() + "data/");
    EXPECT_EQ(picker.Open(), Decision::Accept);
    EXPECT_EQ(picker.Folder(), Root() + "data/");

    view.Set("");
    EXPECT_EQ(picker.Open(), Decision::Accept);
    EXPECT_EQ(picker.Folder(), Root() + "data/");

    view.Set("/");
    EXPECT_EQ(picker.Open(), Decision::Accept);
    EXPECT_EQ(picker.Folder(), "/");
    EXPECT_TRUE(frontend.calls().empty());
}

TEST_F(FolderPickerTest, OpenOnAFileSaysSoAndStays) {
    const std::string file = Root() + "notes.txt";
    view.Set(file);
    view.focus.clear();
    EXPECT_EQ(picker.Open(), Decision::Stay);
    EXPECT_EQ(frontend.texts("message"),
              std::vector<std::string>{file + "\nThis is a file not a directory."});
    EXPECT_EQ(view.focus, "field");
    EXPECT_EQ(picker.Folder(), Root());
}

TEST_F(FolderPickerTest, OpenOffersToCreateAMissingFolderWithEveryLevel) {
    const std::string wanted = Root() + "new/deeper";
    view.Set(wanted + "/");
    frontend.answer(false);
    EXPECT_EQ(picker.Open(), Decision::Stay);
    EXPECT_EQ(frontend.texts("ask"),
              std::vector<std::string>{
                  wanted + "\nThis folder does not exist.\n\nDo you want to create it?"});
    EXPECT_FALSE(fs::exists(root / "new"));

    frontend.answer(true);
    EXPECT_EQ(picker.Open(), Decision::Accept);
    EXPECT_TRUE(fs::is_directory(root / "new" / "deeper"));
    EXPECT_EQ(picker.Folder(), wanted + "/");
}

TEST_F(FolderPickerTest, AFolderThatCannotBeCreatedGetsTheMessageOfItsKey) {
    // A file stands where a folder level would have to be.
    view.Set(Root() + "notes.txt/sub");
    frontend.answer(true);
    EXPECT_EQ(picker.Open(), Decision::Stay);
    EXPECT_EQ(frontend.texts("message"),
              std::vector<std::string>{"You do not have permission\nto create this folder."});

    frontend.clear();
    view.Set(Root() + "notes.txt/sub");
    frontend.answer(true);
    picker.Enter();
    EXPECT_EQ(frontend.texts("message"),
              std::vector<std::string>{
                  "You do not have permission or\notherwise cannot create this folder."});
    EXPECT_EQ(picker.Folder(), Root());
}

TEST_F(FolderPickerTest, EnterEntersOrCreatesTheFolderAndEndsTheFieldWithASeparator) {
    view.Set(Root() + "data/");
    picker.Enter();
    EXPECT_EQ(picker.Folder(), Root() + "data/");
    EXPECT_EQ(view.current.text, Root() + "data/");
    EXPECT_TRUE(view.current.CaretAtEnd());
    EXPECT_EQ(view.focus, "field");

    view.Set(Root() + "made");
    frontend.answer(true);
    picker.Enter();
    EXPECT_TRUE(fs::is_directory(root / "made"));
    EXPECT_EQ(picker.Folder(), Root() + "made/");
    EXPECT_EQ(view.current.text, Root() + "made/");

    view.Set("/");
    picker.Enter();
    EXPECT_EQ(picker.Folder(), "/");
}

TEST_F(FolderPickerTest, DeleteLeavingAnExistingFolderEntersItAndTabGoesToOpen) {
    view.Set(Root() + "PROGRAMME/x");
    view.current.text.pop_back();
    picker.AfterDelete();
    EXPECT_EQ(picker.Folder(), Root() + "PROGRAMME/");

    view.Set(Root() + "PROGRAMME/inn");
    picker.AfterDelete();
    EXPECT_EQ(picker.Folder(), Root() + "PROGRAMME/");

    picker.Tab();
    EXPECT_EQ(view.focus, "open");
}

TEST(FolderPickerFilter, FoldersOnlyComesFirst) {
    EXPECT_EQ(FolderPicker::FilterText("Prokect file (*.pr)|*.pr|All Files (*.*)|*.*||"),
              "Show Folders Only|.|Prokect file (*.pr)|*.pr|All Files (*.*)|*.*||");
    EXPECT_EQ(FolderPicker::FilterText(""), "Show Folders Only|.|All Files (*.*)|*.*||");
}

// The drive and network rules of the Windows style, with the drive kinds given by the test
// (no files are looked at before these checks).
TEST(FolderPickerDrives, InvalidDrivesAndShortNetworkPathsAreRefused) {
    FakeView view;
    common::RecordingFrontend frontend;
    quarnwin::FolderPathStyle style;
    style.separator = '\\';
    style.drives = true;
    style.driveKind = [](const std::string& root) {
        return root == "C:\\" ? quarnwin::DriveKind::Fixed : quarnwin::DriveKind::NoRootDir;
    };
    FolderPicker picker(view, frontend, style);

    view.Set("Q:");
    EXPECT_EQ(picker.Open(), Decision::Stay);
    view.Set("Q:\\");
    EXPECT_EQ(picker.Open(), Decision::Stay);
    view.Set("\\\\");
    EXPECT_EQ(picker.Open(), Decision::Stay);
    view.Set("Q:\\nowhere\\x");
    EXPECT_EQ(picker.Open(), Decision::Stay);
    view.Set("\\\\server\\share");
    EXPECT_EQ(picker.Open(), Decision::Stay);
    EXPECT_EQ(frontend.texts("message"),
              (std::vector<std::string>{"Q:\nThe drive is invalid.", "Q:\\\nThe drive is invalid.",
                                        "\\\\\nThis is not a valid folder.",
                                        "Q:\\nowhere\\x\nThe drive is invalid.",
                                        "\\\\server\\share\nThis is not a valid folder."}));
    EXPECT_TRUE(frontend.texts("ask").empty());
}

TEST(FolderPickerDrives, CompletionFollowsTheCaseOfTheTyping) {
    // The case rules only apply where names ignore case; they are checked on the POSIX tree
    // through a style that compares names ignoring case but keeps '/'.
    fs::path root = fs::temp_directory_path() / "folder_picker_case";
    fs::remove_all(root);
    fs::create_directories(root / "PROGRAMME");
    FakeView view;
    common::RecordingFrontend frontend;
    quarnwin::FolderPathStyle style;
    style.drives = true;  // case-insensitive names; '/' is a separator in this style too
    style.separator = '/';
    FolderPicker picker(view, frontend, style);
    picker.Start(root.string(), "/");

    view.Set(root.string() + "/");
    view.Type(picker, "PROG");
    EXPECT_EQ(view.Selected(), "RAMME");
    view.Set(root.string() + "/");
    view.Type(picker, "prog");
    EXPECT_EQ(view.Selected(), "ramme");
    view.Set(root.string() + "/");
    view.Type(picker, "Pr");
    EXPECT_EQ(view.Selected(), "ogramme");
    fs::remove_all(root);
}
