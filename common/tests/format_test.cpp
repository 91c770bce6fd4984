#include "common/format.h"

#include <gtest/gtest.h>

#include <string>

TEST(Format, PrintfFormatsAsTheDeviceNeedsThem) {
    EXPECT_EQ(common::Format("@Y%04d@", 7), "@Y0007@");
    EXPECT_EQ(common::Format("Scan SPS S%d", 15), "Scan SPS S15");
    EXPECT_EQ(common::Format("%s", ""), "");
    std::string longText(1000, 'x');
    EXPECT_EQ(common::Format("%s!", longText.c_str()), longText + "!");
}

TEST(Format, HexBytesKeepsZeroBytes) {
    EXPECT_EQ(common::HexBytes(std::string("\x68\x00\x16", 3)), "68 00 16");
    EXPECT_EQ(common::HexBytes(""), "");
}
