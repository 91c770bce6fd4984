// Text lines and pages: cutting and padding, page numbering per variant and its limit,
// and the text file's name found whatever the letter case.
#include "setup_tool/core/text_pages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {
std::string Lines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += "line " + std::to_string(i) + "\r\n";
    return text;
}

struct TempDir {
    TempDir() {
        path =
            fs::temp_directory_path() / ("skellig-text-" + std::to_string(std::random_device()()));
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
    void touch(const fs::path& p) { std::ofstream(path / p) << "x\n"; }
    fs::path path;
};
}  // namespace

TEST(TextLine, CutPaddedAndWithoutCarriageReturns) {
    EXPECT_EQ(setup::TextLine(std::string(50, 'x') + "END"), std::string(40, 'x'));
    EXPECT_EQ(setup::TextLine("AB"), "AB" + std::string(38, ' '));
    EXPECT_EQ(setup::TextLine("A\rB"), "AB" + std::string(38, ' '));
    EXPECT_EQ(setup::TextLine(""), std::string(40, ' '));
    EXPECT_EQ(setup::TextLine(std::string("\xC4\t\0z", 4)).substr(0, 4),
              std::string("\xC4\t\0z", 4));
}

TEST(TextPages, SixLinesPerPageForVariant4) {
    auto lines = setup::TextPageLines(Lines(13), setup::VariantOf(4));
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[5].page, 0);
    EXPECT_EQ(lines[5].line, 6);
    EXPECT_EQ(lines[6].page, 1);
    EXPECT_EQ(lines[6].line, 1);
    EXPECT_EQ(lines[12].page, 2);
    EXPECT_EQ(lines[12].line, 1);
    EXPECT_EQ(setup::TkCommand(lines[12]), "@TK0002/01/line 13" + std::string(33, ' '));
    EXPECT_EQ(setup::TkCommand(lines[12]).size(), 51u);
}

TEST(TextPages, PageLimitStopsReading) {
    auto lines = setup::TextPageLines(Lines(200), setup::VariantOf(1));
    ASSERT_EQ(lines.size(), 128u);
    EXPECT_EQ(lines.back().page, 63);
    EXPECT_EQ(lines.back().line, 2);
    EXPECT_EQ(setup::TextPageLines(Lines(300), setup::VariantOf(2)).size(), 256u);
    // Any other variant: no limit.
    EXPECT_EQ(setup::TextPageLines(Lines(3100), setup::VariantOf(0)).size(), 3100u);
    EXPECT_EQ(setup::TextPageLines(Lines(3100), setup::VariantOf(5)).size(), 3072u);
}

TEST(TextPages, LineEnds) {
    // A last line without a line feed counts; a final line feed adds no line.
    EXPECT_EQ(setup::TextPageLines("a\nb", setup::VariantOf(1)).size(), 2u);
    EXPECT_EQ(setup::TextPageLines("a\nb\n", setup::VariantOf(1)).size(), 2u);
    auto lines = setup::TextPageLines("\n\r\nx", setup::VariantOf(1));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].text, std::string(40, ' '));
    EXPECT_TRUE(setup::TextPageLines("", setup::VariantOf(1)).empty());
}

TEST(TextPages, StatusText) {
    EXPECT_EQ(setup::TextPageStatus(2), "Text page: 0002");
}

TEST(TextFilePath, OnlyTheExtensionOfTheFileNameChanges) {
    EXPECT_EQ(setup::TextFilePathFor("/data/anlage.set"), "/data/anlage.txt");
    EXPECT_EQ(setup::TextFilePathFor("/data/a.setup.set"), "/data/a.setup.txt");
    EXPECT_EQ(setup::TextFilePathFor("/data/x.settings/anlage.set"), "/data/x.settings/anlage.txt");
    EXPECT_EQ(setup::TextFilePathFor("/Data/Anlage.SET"), "/Data/Anlage.txt");
}

TEST(TextFilePath, SetupFileOfAChosenTextFile) {
    EXPECT_EQ(setup::SetupPathForTextFile("/data/anlage.txt"), "/data/anlage.set");
    EXPECT_EQ(setup::SetupPathForTextFile("/data/anlage.old.txt"), "/data/anlage.old.set");
    EXPECT_EQ(setup::SetupPathForTextFile("/data/a.setup.txt"), "/data/a.setup.set");
    // A "." in a folder name is not the file name's extension.
    EXPECT_EQ(setup::SetupPathForTextFile("/data.v2/anlage"), "/data.v2/anlage.set");
    // The text file chosen and the one looked for from its setup file are the same.
    EXPECT_EQ(setup::TextFilePathFor(setup::SetupPathForTextFile("/x.set/a.setup.txt")),
              "/x.set/a.setup.txt");
}

TEST(TextFilePath, FoundIgnoringCaseInAMixedCaseFolder) {
    TempDir dir;
    fs::create_directories(dir.path / "Setups");
    dir.touch("Setups/ANLAGE.TXT");
    auto found = setup::FindTextFile(dir.path / "Setups" / "Anlage.set");
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, dir.path / "Setups" / "ANLAGE.TXT");
    EXPECT_FALSE(setup::FindTextFile(dir.path / "Setups" / "other.set"));
}

TEST(TextFilePath, FolderNamedDotSettingsKeepsItsName) {
    TempDir dir;
    fs::create_directories(dir.path / "x.settings");
    dir.touch("x.settings/anlage.txt");
    EXPECT_EQ(setup::FindTextFile(dir.path / "x.settings" / "anlage.set"),
              dir.path / "x.settings" / "anlage.txt");
}
