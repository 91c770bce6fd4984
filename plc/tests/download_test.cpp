#include "plc/transfer/download.h"

#include <gtest/gtest.h>

#include "plc/files/file_access_time.h"
#include "transfer_fixture.h"

using common::Millis;
using plc::DownloadOutcome;

namespace {

struct Downloading : plc::testing::TransferFixture {
    plc::Download download{programmer, log, FixedTime};

    // A project with the configuration block and two modules, PUMP (300 code bytes, data
    // block 12) and CTRL (a function with letter R).
    void MakeProject() {
        Write("P.kb", std::string(208, '\x11'));
        Write("PUMP.ob", ModuleFile(4, Pattern(300, 1), 1, 12));
        Write("ctrl.OB", ModuleFile(30, Pattern(20, 2), 2, 3));
        Write("P.pr", plc::FormatProjectLine(0, 10, "P.kb") +
                          plc::FormatProjectLine(7, 4, "PUMP.ob") +
                          "  9|30 | R |    |   |CTRL.ob\n");
        plc.info[1] = 2;  // the variant that takes functions
    }
    DownloadOutcome Run() { return download.Run(folder / "P" / "P.pr"); }
};

TEST_F(Downloading, WritesEveryPartInOrderAndStartsThePlc) {
    MakeProject();
    plc.AddModule(3, "OLD", 9, 2, "old code");
    frontend.answer(true);  // download the configuration file
    plc.codeSegment = 0x6000;
    plc.codeOffset = 0x0800;

    EXPECT_EQ(Run(), DownloadOutcome::kComplete);
    std::vector<int> expected{0x2E, 0x2F, 0x01, 0x01, 0x0A, 0x27, 0x42, 0x27, 0x46, 0x46,
                              0x46, 0x07, 0x44, 0x44, 0x44, 0x45, 0x07, 0x44, 0x45, 0x20};
    EXPECT_EQ(plc.Commands(), expected);

    // The configuration block: the file's 208 bytes, then zeros, in three writes.
    EXPECT_EQ(plc.Get(0x60400, 208), std::string(208, '\x11'));
    EXPECT_EQ(plc.Get(0x60400 + 208, 304), std::string(304, '\0'));
    EXPECT_EQ(plc.frames[8].substr(8, 3), plc::testing::Bytes({0x00, 0x04, 170}));
    EXPECT_EQ(plc.frames[9].substr(8, 3), plc::testing::Bytes({0xAA, 0x04, 170}));
    EXPECT_EQ(plc.frames[10].substr(8, 3), plc::testing::Bytes({0x54, 0x05, 172}));

    // PUMP: number 7 requested with 302 bytes, code in 128 + 128 + 46, then its header.
    EXPECT_EQ(plc.frames[11].substr(8, 3), plc::testing::Bytes({7, 0x2E, 0x01}));
    EXPECT_EQ(static_cast<unsigned char>(plc.frames[14][12]), 46u);
    const std::string header = plc.frames[15].substr(13, 32);
    EXPECT_EQ(plc::HeaderName(reinterpret_cast<const std::uint8_t*>(header.data())), "PUMP");
    EXPECT_EQ(static_cast<unsigned char>(header[28]), 0xC7u);
    EXPECT_EQ(static_cast<unsigned char>(header[29]), 2u);  // 0x6000:0x0800 is page 2
    EXPECT_EQ(header.substr(22, 2), plc::testing::Bytes({0x2C, 0x03}));
    EXPECT_EQ(header.substr(30, 2), plc::testing::Bytes({0x2E, 0x01}));
    // Dated by the file's last access, not by the clock the log uses.
    const std::tm accessed = plc::LastAccessLocalTime(folder / "P" / "PUMP.ob").value();
    EXPECT_EQ(header.substr(9, 5),
              plc::testing::Bytes({accessed.tm_year % 100, accessed.tm_mon + 1, accessed.tm_mday,
                                   accessed.tm_hour, accessed.tm_min}));
    // CTRL, found as ctrl.OB, with letter R: directory code 0x80 | 9.
    EXPECT_EQ(static_cast<unsigned char>(plc.frames[18][13 + 28]), 0x89u);
    EXPECT_EQ(programmer.state().infoBlock.pageSize(), 0x0400);

    EXPECT_EQ(Log(),
              std::string("Start download at ") + kStamp + "\r\nLoad configuration file\r\n" +
                  "\tPUMP.ob\t ok\r\n\tCTRL.ob\t ok\r\nAll Modules successfully downloaded at " +
                  kStamp + "\r\n");
    EXPECT_EQ(frontend.texts("ask"), (std::vector<std::string>{"Download the configuration file " +
                                                               (folder / "P" / "P.kb").string()}));
    EXPECT_EQ(frontend.status(), "All Modules successfully downloaded");
    EXPECT_FALSE(frontend.busy());
    const auto statuses = frontend.texts("status");
    EXPECT_NE(std::find(statuses.begin(), statuses.end(),
                        "   PUMP.ob       302 of      302 Bytes transfered"),
              statuses.end());

    // 100 ms before the header, 1.5 s settle after each module.
    const auto& times = device.writeTimes();
    EXPECT_EQ(times[15] - times[14], Millis(60 + 100 + 100));
    EXPECT_EQ(times[16] - times[15], Millis(60 + 1500));
}

TEST_F(Downloading, ConfigurationLinePlacesTheBlockAndNoSkipsIt) {
    MakeProject();
    Write("P.pr", plc::FormatProjectLine(7, 4, "PUMP.ob") + plc::FormatProjectLine(0, 10, "P.kb"));
    frontend.answer(false);
    EXPECT_EQ(Run(), DownloadOutcome::kComplete);
    std::vector<int> expected{0x2E, 0x2F, 0x01, 0x01, 0x27, 0x07,
                              0x44, 0x44, 0x44, 0x45, 0x27, 0x20};
    EXPECT_EQ(plc.Commands(), expected);
    EXPECT_EQ(plc.Get(0x60400, 4), std::string(4, '\0'));
    EXPECT_EQ(frontend.calls()[frontend.calls().size() - 4], "status: ");
}

TEST_F(Downloading, MasterConfigurationNeedsFirmwareOneFour) {
    MakeProject();
    plc.firmwareMajor = 1;
    plc.firmwareMinor = 3;
    std::string block(512, '\0');
    block[26] = 1;
    plc.SetConfiguration(block);
    Write("P.pr", plc::FormatProjectLine(0, 10, "P.kb") + plc::FormatProjectLine(7, 4, "PUMP.ob"));
    EXPECT_EQ(Run(), DownloadOutcome::kComplete);
    EXPECT_EQ(frontend.texts("message"), (std::vector<std::string>{"ERROR_FW_VERSION,MASTER"}));
    EXPECT_TRUE(frontend.texts("ask").empty());
    EXPECT_EQ(plc.Count(0x46), 0);
    EXPECT_EQ(plc.Count(0x45), 1);
}

TEST_F(Downloading, ProjectProblemsAreFoundBeforeThePlcIsTouched) {
    struct Case {
        const char* what;
        std::function<void(Downloading&)> spoil;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        {"no project file",
         [](Downloading& t) { std::filesystem::remove(t.folder / "P" / "P.pr"); },
         {"Kein Konfigurationsblock"}},
        {"no configuration line",
         [](Downloading& t) { t.Write("P.pr", plc::FormatProjectLine(7, 4, "PUMP.ob")); },
         {"Kein Konfigurationsblock"}},
        {"no .kb file",
         [](Downloading& t) { std::filesystem::remove(t.folder / "P" / "P.kb"); },
         {"Can't open kb file", "Kein Konfigurationsblock"}},
        {"empty .kb file",
         [](Downloading& t) { t.Write("P.kb", ""); },
         {"can't open file:" + (folder / "P" / "P.kb").string(), "Kein Konfigurationsblock"}},
        {"module file missing",
         [](Downloading& t) { std::filesystem::remove(t.folder / "P" / "ctrl.OB"); },
         {"1 CTRL.ob"}},
        {"not a module kind",
         [](Downloading& t) { t.Write("PUMP.ob", ModuleFile(7, "abc")); },
         {"11 PUMP.ob"}},
        {"file too short",
         [](Downloading& t) { t.Write("PUMP.ob", ModuleFile(4, "abc").substr(0, 34)); },
         {"14 PUMP.ob"}},
        {"kind not for the variant", [](Downloading& t) { t.plc.info[1] = 0; }, {"18 CTRL.ob"}},
        {"name too long",
         [](Downloading& t) {
             t.Write("PUMPSTATION.ob", ModuleFile(4, "abc"));
             t.Write("P.pr", plc::FormatProjectLine(0, 10, "P.kb") +
                                 plc::FormatProjectLine(7, 4, "PUMPSTATION.ob"));
         },
         {std::string(plc::module_file::kNameTooLongFormat)
              .replace(std::string(plc::module_file::kNameTooLongFormat).find("%s"), 2,
                       "PUMPSTATION.ob")}},
        {"firmware too old",
         [](Downloading& t) { t.Write("PUMP.ob", ModuleFile(4, "abc", 3)); },
         {"ERROR_FW_VERSIONPUMP.ob 3.4 <-> 2.1"}},
        {"damaged module",
         [](Downloading& t) { t.Write("PUMP.ob", ModuleFile(4, "abc", 0x81)); },
         {"ERROR_FILEDATAPUMP.ob 129.4 <-> 2.1"}},
        {"data block number clash",
         [](Downloading& t) { t.plc.AddModule(5, "TANK", 4, 2, "t", 12); },
         {"ERROR_DUP_DBNR:TANK.OB: DB.NR=12 <-> PUMP.OB: DB.NR=12"}},
        {"function number clash",
         [](Downloading& t) { t.plc.AddModule(5, "LOOP", 30, 2, "t", 3); },
         {"ERROR_DUP_DBNR:LOOP.OB: FN.NR=3 <-> CTRL.OB: FN.NR=3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        plc = plc::testing::FakePlc();
        plc.MarkSystemPages();
        programmer.state() = plc::PlcState();
        programmer.state().stationAddress = 0x40;
        frontend.clear();
        MakeProject();
        c.spoil(*this);
        log.Clear();
        EXPECT_EQ(Run(), DownloadOutcome::kRefused);
        EXPECT_EQ(frontend.texts("message"), c.messages);
        EXPECT_FALSE(PlcTouched());
        EXPECT_EQ(Log(), std::string("Start download at ") + kStamp + "\r\n");
        EXPECT_FALSE(frontend.busy());
    }
}

TEST_F(Downloading, SameNameWithTheSameNumberIsNoClash) {
    MakeProject();
    plc.AddModule(7, "PUMP", 4, 2, "old", 12);
    frontend.answer(true);
    EXPECT_EQ(Run(), DownloadOutcome::kComplete);
    // PUMP was in the PLC as 7: deleted with the rest, requested as 7 again.
    EXPECT_EQ(plc.Count(0x42), 1);
}

TEST_F(Downloading, RenumberedModuleIsDeletedAgainUnderItsOldNumber) {
    MakeProject();
    plc.AddModule(5, "PUMP", 4, 2, "old", 12);
    frontend.answer(true);
    EXPECT_EQ(Run(), DownloadOutcome::kComplete);
    std::vector<std::string> deletes;
    for (const auto& f : plc.frames)
        if (static_cast<unsigned char>(f[7]) == 0x42) deletes.push_back(f.substr(8, 1));
    EXPECT_EQ(deletes, (std::vector<std::string>{"\x05", "\x05"}));
}

TEST_F(Downloading, NumberZeroFromThePlcStopsTheModulesButStartsThePlc) {
    MakeProject();
    plc.assignNumber = -1;
    frontend.answer(true);
    EXPECT_EQ(Run(), DownloadOutcome::kStopped);
    EXPECT_EQ(frontend.texts("message"), (std::vector<std::string>{"Error or pause"}));
    EXPECT_EQ(plc.Commands().back(), 0x20);
    EXPECT_EQ(plc.Count(0x07), 1);
    EXPECT_EQ(Log().find("All Modules"), std::string::npos);
    EXPECT_EQ(frontend.status(), "Load configuration file");
}

TEST_F(Downloading, SilenceDuringTheTransferThrowsAndLeavesThePlcStopped) {
    MakeProject();
    frontend.answer(true);
    plc.silentAfter = 14;  // the reservation of CTRL gets no answer
    try {
        Run();
        FAIL();
    } catch (const plc::CQuarnException& e) {
        EXPECT_EQ(e.message(), "Comunication error:");
    }
    EXPECT_EQ(plc.Commands().back(), 0x07);
    EXPECT_FALSE(frontend.busy());

    plc = plc::testing::FakePlc();
    plc.MarkSystemPages();
    plc.info[1] = 2;
    plc.silentAfter = 14;  // identified already: now CTRL's first code telegram
    frontend.answer(true);
    EXPECT_THROW(Run(), plc::CQuarnException);
    EXPECT_EQ(plc.Commands().back(), 0x44);
}

}  // namespace
