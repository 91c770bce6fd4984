// Dry run, backup and verify of the sample project against the simulated PLC's device
// model in this process, on virtual time: what each sends, and what it finds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/format.h"
#include "common/recording_frontend.h"
#include "link/scripted_device.h"
#include "link/serial_link.h"
#include "plc/transfer/backup.h"
#include "plc/transfer/download.h"
#include "plc/transfer/plc_directory.h"
#include "plc/transfer/verify.h"
#include "sim/plc/plc_device.h"
#include "sim/plc/request_parser.h"
#include "testsupport/process.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSample = fs::path(SAMPLE_PROJECT) / "project.pr";

std::tm FixedTime() {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 8;
    t.tm_hour = 5;
    t.tm_min = 4;
    t.tm_sec = 3;
    return t;
}

bool Changes(std::uint8_t code) {
    switch (code) {
        case 0x27:
        case 0x42:
        case 0x46:
        case 0x07:
        case 0x44:
        case 0x45:
        case 0x20:
            return true;
        default:
            return false;
    }
}

// One PC-side programmer on the shared simulated PLC; each records what it sent.
struct Client {
    common::FakeClock clock;
    serial::ScriptedDevice device{clock};
    common::RecordingFrontend frontend;
    serial::CSerialLink link{device, frontend, serial::Program::QuarnWin};
    std::unique_ptr<plc::CPlcProgrammer> programmer;
    std::vector<plc::timing::Exchange> sent;

    explicit Client(sim::PlcDevice& plc) {
        device.respond([this, &plc](const std::string& frame) {
            sim::RequestParser parser;
            std::string reply;
            for (unsigned char byte : frame)
                if (auto request = parser.feed(byte)) reply = plc.handle(*request);
            sent.push_back({static_cast<std::uint8_t>(frame[7]), frame.size(), reply.size()});
            return reply;
        });
        frontend.answer(true);
        link.Open("sim");
        programmer = std::make_unique<plc::CPlcProgrammer>(link, clock, frontend);
        programmer->state().stationAddress = 64;
    }
    bool SentChange() const {
        for (const auto& e : sent)
            if (Changes(e.command)) return true;
        return false;
    }
};

struct TrustedDownload : ::testing::Test {
    sim::PlcDevice plc{64, 2, 0};
    plc::TransferLog log;
    fs::path work = fs::path(testsupport::FreshLinkPath("trusted")).parent_path();

    void TearDown() override {
        std::error_code ec;
        fs::remove_all(work, ec);
    }
    plc::DownloadOutcome Download(const fs::path& project, Client& client) {
        return plc::Download(*client.programmer, log, FixedTime).Run(project);
    }
    // The sample with only its configuration block and first module.
    fs::path SmallProject() {
        const fs::path folder = work / "small";
        fs::create_directories(folder);
        for (const char* name : {"project.kb", "TANKDATA.ob"})
            fs::copy_file(fs::path(SAMPLE_PROJECT) / name, folder / name);
        std::ofstream(folder / "small.pr") << "  0|10 | A |    |   |project.kb   \r\n"
                                           << "  1|4  | A |    |   |TANKDATA.ob  \r\n";
        return folder / "small.pr";
    }
};

TEST_F(TrustedDownload, DryRunSendsNoChangeAndPlansExactlyWhatTheDownloadSends) {
    Client first(plc);
    ASSERT_EQ(Download(kSample, first), plc::DownloadOutcome::kComplete);

    Client rehearsal(plc);
    const auto changesBefore = plc.memory().changes();
    plc::DownloadPlan plan;
    ASSERT_EQ(plc::Download(*rehearsal.programmer, log, FixedTime).Rehearse(kSample, plan),
              plc::DownloadOutcome::kComplete);
    EXPECT_FALSE(rehearsal.SentChange());
    EXPECT_EQ(plc.memory().changes(), changesBefore);
    ASSERT_EQ(plan.deletions.size(), 4u);
    EXPECT_EQ(plan.deletions[1].name, "PUMPCTRL");
    EXPECT_EQ(plan.deletions[1].size, 1600);
    EXPECT_TRUE(plan.configurationReplaced);
    EXPECT_EQ(plan.oldTitle, "TANK PLANT 7");
    ASSERT_EQ(plan.writes.size(), 4u);
    EXPECT_EQ(plan.writes[1].number, 2);
    EXPECT_EQ(plan.writes[1].size, 1602);

    Client again(plc);
    ASSERT_EQ(Download(kSample, again), plc::DownloadOutcome::kComplete);
    EXPECT_EQ(plan.exchanges, again.sent);
}

TEST_F(TrustedDownload, RefusedProjectIsRefusedByTheDryRunWithoutAChange) {
    const fs::path project = SmallProject();
    fs::remove(project.parent_path() / "TANKDATA.ob");
    Client client(plc);
    plc::DownloadPlan plan;
    EXPECT_EQ(plc::Download(*client.programmer, log, FixedTime).Rehearse(project, plan),
              plc::DownloadOutcome::kRefused);
    EXPECT_FALSE(client.SentChange());
}

TEST_F(TrustedDownload, VerifyFindsTheOneByteACorruptWriteChanged) {
    Client clean(plc);
    plc::Download download(*clean.programmer, log, FixedTime);
    ASSERT_EQ(download.Run(kSample), plc::DownloadOutcome::kComplete);
    plc::ExpectedProject written;
    for (const auto& m : download.written()) written.modules.push_back({m.header, m.code, true});
    written.configuration = download.writtenConfiguration();
    EXPECT_TRUE(plc::CompareProject(written, plc::ReadBack(*clean.programmer)).ok());

    // Writes 1-3 are the configuration block, 4 TANKDATA's code, 5 its header, 6 the first
    // 128 bytes of PUMPCTRL's code: byte 64 of them is file offset 32 + 64.
    sim::PlcMemoryFaults faults;
    faults.corruptWrite = 6;
    sim::PlcDevice corrupting{64, 2, 0};
    corrupting.setMemoryFaults(faults);
    Client client(corrupting);
    plc::Download corrupted(*client.programmer, log, FixedTime);
    ASSERT_EQ(corrupted.Run(kSample), plc::DownloadOutcome::kComplete);
    plc::ExpectedProject expected;
    for (const auto& m : corrupted.written()) expected.modules.push_back({m.header, m.code, true});
    expected.configuration = corrupted.writtenConfiguration();
    const plc::VerifyReport report =
        plc::CompareProject(expected, plc::ReadBack(*client.programmer));
    EXPECT_FALSE(report.ok());
    const std::string code = expected.modules[1].code;
    const std::string line = common::Format("PUMPCTRL: byte 96 expected %02X found %02X",
                                            static_cast<unsigned char>(code[64]),
                                            static_cast<unsigned char>(~code[64]) & 0xFF);
    EXPECT_EQ(report.Lines(), std::vector<std::string>{line});
}

TEST_F(TrustedDownload, VerifyOfFilesTellsTheProjectFromAnother) {
    Client client(plc);
    ASSERT_EQ(Download(kSample, client), plc::DownloadOutcome::kComplete);
    // A later run: the dates the files give now are not the PLC's.
    Client later(plc);
    const plc::PlcReadBack back = plc::ReadBack(*later.programmer);
    auto same = plc::ExpectedFromFiles(kSample, *later.programmer);
    ASSERT_TRUE(same);
    EXPECT_TRUE(plc::CompareProject(*same, back).ok())
        << plc::CompareProject(*same, back).Lines()[0];

    auto small = plc::ExpectedFromFiles(SmallProject(), *later.programmer);
    ASSERT_TRUE(small);
    EXPECT_EQ(plc::CompareProject(*small, back).Lines(),
              (std::vector<std::string>{"PUMPCTRL: in the PLC, not in the project",
                                        "STARTUP: in the PLC, not in the project",
                                        "ALARMS: in the PLC, not in the project"}));
}

TEST_F(TrustedDownload, VerifySaysWhichFileItCannotRead) {
    Client client(plc);
    plc::ReadBack(*client.programmer);
    EXPECT_FALSE(plc::ExpectedFromFiles(work / "none.pr", *client.programmer));
    const fs::path small = SmallProject();
    fs::remove(small.parent_path() / "project.kb");
    EXPECT_FALSE(plc::ExpectedFromFiles(small, *client.programmer));
    EXPECT_EQ(client.frontend.texts("message"),
              (std::vector<std::string>{"Cannot read the project file " +
                                            (work / "none.pr").string() + ": it does not exist",
                                        "Can't open kb file", "Kein Konfigurationsblock"}));
}

// The PLC's memory with the modules' dates cleared: a download dates each module by its
// file's last access, and the backup's files are not the project's.
std::string UndatedImage(sim::PlcDevice& plc) {
    std::string image = plc.memory().read(0, 0, 0xFFFF) + plc.memory().read(0x6000, 0, 0xFFFF);
    Client reader(plc);
    for (const plc::ModuleEntry& entry : plc::ReadBack(*reader.programmer).table) {
        const std::string header(entry.bytes.begin(), entry.bytes.begin() + plc::header::kSize);
        for (size_t at = image.find(header); at != std::string::npos;
             at = image.find(header, at + 1))
            for (size_t k = plc::header::kYear; k <= plc::header::kMinute; ++k) image[at + k] = 0;
    }
    return image;
}

TEST_F(TrustedDownload, BackupIsAProjectThatRestoresThePlc) {
    Client client(plc);
    ASSERT_EQ(Download(kSample, client), plc::DownloadOutcome::kComplete);
    const std::string before = UndatedImage(plc);

    Client backup(plc);
    plc::Download download(*backup.programmer, log, FixedTime);
    fs::path folder;
    download.SetBeforeChanges([&] {
        return plc::BackUpPlc(*backup.programmer, log, work / "backups", FixedTime, &folder);
    });
    ASSERT_EQ(download.Run(SmallProject()), plc::DownloadOutcome::kComplete);
    EXPECT_EQ(folder, work / "backups" / "TANK_PLANT_7-20261208-050403");
    ASSERT_TRUE(fs::exists(folder / "TANK_PLA.pr"));

    Client restore(plc);
    ASSERT_EQ(Download(folder / "TANK_PLA.pr", restore), plc::DownloadOutcome::kComplete);
    EXPECT_TRUE(UndatedImage(plc) == before);

    // A second backup in the same second claims a folder of its own.
    Client again(plc);
    plc::ReadPlcDirectory(*again.programmer);  // the title names the folder
    fs::path second;
    ASSERT_TRUE(plc::BackUpPlc(*again.programmer, log, work / "backups", FixedTime, &second));
    EXPECT_EQ(second, work / "backups" / "TANK_PLANT_7-20261208-050403-2");
    EXPECT_TRUE(fs::exists(second / "TANK_PLA.pr"));
}

TEST_F(TrustedDownload, FailedBackupHoldsTheDownloadBeforeAnyChange) {
    Client client(plc);
    ASSERT_EQ(Download(kSample, client), plc::DownloadOutcome::kComplete);
    std::ofstream(work / "a-file") << "x";
    Client backup(plc);
    backup.sent.clear();
    plc::Download download(*backup.programmer, log, FixedTime);
    download.SetBeforeChanges([&] {
        return plc::BackUpPlc(*backup.programmer, log, work / "a-file" / "sub", FixedTime);
    });
    EXPECT_EQ(download.Run(kSample), plc::DownloadOutcome::kHeld);
    EXPECT_FALSE(backup.SentChange());
    EXPECT_NE(backup.frontend.texts("message").back().find("Cannot create the backup folder"),
              std::string::npos);
}

}  // namespace
