#include "protocol_tool/core/cnt_validation.h"

#include <gtest/gtest.h>

namespace {
const std::string kNotInteger = "Geben Sie bitte eine ganze Zahl ein.";
const std::string kRange = "Geben Sie bitte eine ganze Zahl zwischen 1 und 9999 ein.";

std::string MessageFor(const std::string& text) {
    auto result = protocol::ValidateCnt(text);
    return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "";
}
}  // namespace

TEST(CntValidation, AcceptsIntegersFromOneTo9999) {
    EXPECT_EQ(std::get<int>(protocol::ValidateCnt("1")), 1);
    EXPECT_EQ(std::get<int>(protocol::ValidateCnt("9999")), 9999);
    EXPECT_EQ(std::get<int>(protocol::ValidateCnt(" 0100 ")), 100);
}

TEST(CntValidation, GivesTheDialogsMessages) {
    for (const char* text : {"", "  ", "abc", "12abc", "1.5", "7 8"})
        EXPECT_EQ(MessageFor(text), kNotInteger) << text;
    for (const char* text : {"0", "10000", "-5", "99999999999999999999"})
        EXPECT_EQ(MessageFor(text), kRange) << text;
}
