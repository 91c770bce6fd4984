// The sample project through plcsim and back: download, upload into an empty folder,
// download the uploaded project, upload again. The client runs in this process on the real
// serial stack; its pacing waits are skipped (they are tested on virtual time), so the
// round trip takes seconds.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>

#include "common/file_helpers.h"
#include "common/recording_frontend.h"
#include "link/serial_link.h"
#include "link/termios_device.h"
#include "plc/files/file_access_time.h"
#include "plc/module_header.h"
#include "plc/plc_programmer.h"
#include "plc/transfer/download.h"
#include "plc/transfer/upload.h"
#include "testsupport/process.h"

namespace fs = std::filesystem;

namespace {

// Real time for the line's time-outs, no time for the protocol's pauses.
class NoPauseClock final : public common::Clock {
  public:
    void sleep(common::Millis) override {}
    common::Millis now() const override {
        return std::chrono::duration_cast<common::Millis>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
};

std::tm FixedTime() {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 4;
    t.tm_mday = 17;
    t.tm_hour = 8;
    t.tm_min = 30;
    return t;
}

std::string Read(const fs::path& path) {
    return common::ReadWholeFile(path).value_or("<missing>");
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct RoundTrip : ::testing::Test {
    std::string link = testsupport::FreshLinkPath("plc-roundtrip");
    fs::path work = fs::path(link).parent_path() / "work";
    std::unique_ptr<testsupport::BackgroundProcess> plcsim;
    common::RealClock realClock;
    NoPauseClock noPause;
    serial::TermiosDevice device{realClock};
    common::RecordingFrontend frontend;
    serial::CSerialLink serialLink{device, frontend, serial::Program::QuarnWin};
    std::unique_ptr<plc::CPlcProgrammer> programmer;
    plc::TransferLog log;

    void SetUp() override {
        plcsim = std::make_unique<testsupport::BackgroundProcess>(
            PLCSIM_PATH, std::vector<std::string>{"--link", link}, link);
        ASSERT_TRUE(plcsim->running());
        ASSERT_TRUE(serialLink.Open(link));
        programmer = std::make_unique<plc::CPlcProgrammer>(serialLink, noPause, frontend);
        programmer->state().stationAddress = 64;
        fs::create_directories(work);
        log = plc::TransferLog(work / "log.txt");
        log.Clear();
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(work, ec);
    }
    void Download(const fs::path& project) {
        frontend.answer(true);  // the configuration file
        plc::Download download(*programmer, log, FixedTime);
        ASSERT_EQ(download.Run(project), plc::DownloadOutcome::kComplete) << frontend.status();
    }
    void Upload(const fs::path& folder) {
        fs::create_directories(folder);
        plc::Upload upload(*programmer, log, FixedTime);
        ASSERT_EQ(upload.Run(folder), plc::UploadOutcome::kComplete) << frontend.status();
    }
};

TEST_F(RoundTrip, SecondUploadIsByteIdenticalAndModulesMatchTheSample) {
    const fs::path sample = SAMPLE_PROJECT;
    const fs::path first = work / "first" / "project";
    const fs::path second = work / "second" / "project";
    const std::vector<std::string> files{"ALARMS.ob",   "PUMPCTRL.ob", "STARTUP.ob",
                                         "TANKDATA.ob", "project.kb",  "project.pr"};
    // A downloaded module is dated by its file's last access.
    auto accessDates = [&](const fs::path& folder) {
        std::map<std::string, std::string> dates;
        for (const std::string& name : files) {
            const std::tm t = plc::LastAccessLocalTime(folder / name).value_or(std::tm{});
            dates[name] = {static_cast<char>(t.tm_year % 100), static_cast<char>(t.tm_mon + 1),
                           static_cast<char>(t.tm_mday), static_cast<char>(t.tm_hour),
                           static_cast<char>(t.tm_min)};
        }
        return dates;
    };
    Download(sample / "project.pr");
    const auto sampleDates = accessDates(sample);
    Upload(first);
    Download(first / "project.pr");
    const auto firstDates = accessDates(first);
    Upload(second);

    EXPECT_EQ(Names(first), files);
    EXPECT_EQ(Names(second), files);
    const auto withoutDate = [](std::string bytes) {
        if (bytes.size() > plc::header::kMinute) bytes.replace(plc::header::kYear, 5, 5, '\0');
        return bytes;
    };
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        const bool module = name.ends_with(".ob");
        if (module) {
            EXPECT_EQ(withoutDate(Read(first / name)), withoutDate(Read(second / name)));
            EXPECT_EQ(Read(first / name).substr(plc::header::kYear, 5), sampleDates.at(name));
            EXPECT_EQ(Read(second / name).substr(plc::header::kYear, 5), firstDates.at(name));
        } else {
            EXPECT_EQ(Read(first / name), Read(second / name));
        }
        const std::string uploaded = Read(first / name);
        const std::string original = Read(sample / name);
        ASSERT_EQ(uploaded.size(), original.size());
        for (size_t i = 0; i < uploaded.size(); ++i) {
            const bool setByDownload =
                name.ends_with(".ob") &&
                ((i >= plc::header::kYear && i <= plc::header::kMinute) ||
                 i == plc::header::kLoaderMark || i == plc::header::kLoaderMark + 1 ||
                 i == plc::header::kDirectoryCode || i == plc::header::kStartPage);
            if (!setByDownload) {
                EXPECT_EQ(uploaded[i], original[i]) << "byte " << i;
            }
        }
    }
    const std::string logText = Read(work / "log.txt");
    EXPECT_NE(logText.find("\tPUMPCTRL.ob\t ok\r\n"), std::string::npos);
    EXPECT_NE(logText.find("\tproject/project.kb\tok\r\n"), std::string::npos);
}

}  // namespace
