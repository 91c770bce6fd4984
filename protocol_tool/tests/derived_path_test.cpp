#include "protocol_tool/core/derived_path.h"

#include <gtest/gtest.h>

using protocol::DerivedPath;

TEST(DerivedPath, ExchangesEverythingFromTheLastDotOfTheFileName) {
    EXPECT_EQ(DerivedPath("/data/may.pro", ".xls"), "/data/may.xls");
    EXPECT_EQ(DerivedPath("/data/may.pro", ".rtf"), "/data/may.rtf");
    EXPECT_EQ(DerivedPath("/data/may.2008.pro", ".xls"), "/data/may.2008.xls");
    EXPECT_EQ(DerivedPath("may.pro", ".rtf"), "may.rtf");
    EXPECT_EQ(DerivedPath("/data/may.", ".xls"), "/data/may.xls");
}

TEST(DerivedPath, ANameWithoutDotGetsTheExtensionAppended) {
    EXPECT_EQ(DerivedPath("/data/may", ".xls"), "/data/may.xls");
    // A dot in a folder's name is not the file's extension.
    EXPECT_EQ(DerivedPath("/data/v2.1/may", ".rtf"), "/data/v2.1/may.rtf");
    EXPECT_EQ(DerivedPath("may", ".xls"), "may.xls");
}
