#pragma once
// A fresh folder per test, removed afterwards, and small file helpers for the tests.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/file_helpers.h"

namespace protocol_test {

namespace fs = std::filesystem;

class TempFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / (std::string("vantor-") + info->test_suite_name() + "-" +
                                           info->name() + "-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    static void Write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const fs::path& path) {
        return common::ReadWholeFile(path).value_or("<missing>");
    }
    // Names in the folder, to see that no temporary file was left behind.
    size_t EntryCount() const {
        return static_cast<size_t>(
            std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
    fs::path dir;
};

}  // namespace protocol_test
