#pragma once
// A project folder on disk, a log file and the fake PLC, for the download and upload tests.
#include <filesystem>
#include <fstream>

#include "common/file_helpers.h"
#include "fake_plc.h"
#include "plc/files/project_file.h"
#include "plc/files/transfer_log.h"

namespace plc::testing {

struct TransferFixture : PlcFixture {
    FakePlc plc;
    std::filesystem::path folder;
    std::filesystem::path logFile;
    plc::TransferLog log;

    void SetUp() override {
        PlcFixture::SetUp();
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 (std::string("plc-transfer-") + test->test_suite_name() + "-" + test->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "P");
        logFile = folder / "log.txt";
        log = plc::TransferLog(logFile);
        log.Clear();
        device.respond([this](const std::string& r) { return plc.Answer(r); });
        plc.MarkSystemPages();
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    std::filesystem::path Write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder / "P" / name, std::ios::binary) << bytes;
        return folder / "P" / name;
    }
    std::string Read(const std::string& name) const {
        return common::ReadWholeFile(folder / "P" / name).value_or("<missing>");
    }
    std::string Log() const { return common::ReadWholeFile(logFile).value_or("<missing>"); }
    static std::string ModuleFile(std::uint8_t kind, const std::string& code,
                                  std::uint8_t firmware = 1, std::uint16_t ownNumber = 0) {
        std::string header(32, '\0');
        header[20] = static_cast<char>(firmware);
        header[21] = 4;
        header[25] = static_cast<char>(ownNumber & 0xFF);
        header[26] = static_cast<char>(ownNumber >> 8);
        header[27] = static_cast<char>(kind);
        header[30] = static_cast<char>(code.size() & 0xFF);
        header[31] = static_cast<char>(code.size() >> 8);
        return header + code;
    }
    static std::string Pattern(size_t size, int seed) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 13 + seed) & 0xFF);
        return bytes;
    }
    static std::tm FixedTime() {
        std::tm t{};
        t.tm_year = 126;
        t.tm_mon = 0;
        t.tm_mday = 5;
        t.tm_hour = 14;
        t.tm_min = 3;
        t.tm_wday = 1;
        return t;
    }
    static constexpr const char* kStamp = "Mon Jan  5 14:03:00 2026";
    // Requests that change the PLC.
    bool PlcTouched() const {
        for (int code : plc.Commands())
            if ((code >= 0x20 && code != 0x2E && code != 0x2F) || code == 0x07) return true;
        return false;
    }
};

}  // namespace plc::testing
