#include "common/utf8_path.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

// Names outside any single 8-bit code page: a German umlaut and Cyrillic in one path.
TEST(Utf8Path, NonAsciiNamesReachTheSameFileBothWays) {
    const std::string folder = "J\xC3\xBCrgen";                                      // Jürgen
    const std::string file = "\xD0\xBF\xD1\x80\xD0\xBE\xD0\xB5\xD0\xBA\xD1\x82.pr";  // проект.pr
    const fs::path root = fs::temp_directory_path() / "utf8-path-test";
    fs::remove_all(root);
    const std::string utf8 = common::Utf8FromPath(root) + "/" + folder + "/" + file;
    const fs::path path = common::PathFromUtf8(utf8);
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";

    EXPECT_EQ(common::Utf8FromPath(path), utf8);
    EXPECT_EQ(common::Utf8FromPath(path.filename()), file);
    EXPECT_EQ(common::Utf8FromPath(path.parent_path().filename()), folder);
    EXPECT_TRUE(fs::exists(common::PathFromUtf8(utf8)));
    fs::remove_all(root);
}

// A name from an 8-bit project file is no UTF-8: it still makes a path, with its bytes kept
// as the system reads them, and never ends the program.
TEST(Utf8Path, TextThatIsNoUtf8StillMakesAPath) {
    const std::string latin1 = "J\xFCrgen.kb";
    const fs::path path = common::PathFromUtf8(latin1);
    EXPECT_EQ(path, fs::path(latin1));
    EXPECT_EQ(path.extension(), fs::path(".kb"));
}
