// quarnctl's transfers against plcsim in real time: the PLC image across runs, and every
// fault end to end (message, exit status, files and PLC image as they must be).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "testsupport/process.h"

namespace fs = std::filesystem;

namespace {

// The sample project of the source tree this test was built from.
const fs::path kSampleProject = fs::path(SAMPLES_DIR) / "project";

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return in ? out.str() : "<missing>";
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The PLC image without the live values plcsim keeps changing (0x0200 to 0x0223 of the
// 16-bit space): what a download could have changed.
std::string ProgramMemory(const fs::path& image) {
    std::string bytes = Read(image);
    if (bytes.size() > 0x240) bytes.replace(0x200, 0x40, std::string(0x40, '\0'));
    return bytes;
}

void CopyProject(const fs::path& from, const fs::path& to) {
    fs::create_directories(to);
    for (const char* name :
         {"project.pr", "project.kb", "TANKDATA.ob", "PUMPCTRL.ob", "STARTUP.ob", "ALARMS.ob"})
        fs::copy_file(from / name, to / name, fs::copy_options::overwrite_existing);
}

struct TransferAgainstPlcsim : ::testing::Test {
    std::string link = testsupport::FreshLinkPath("plc");
    fs::path work = fs::path(link).parent_path();
    fs::path image = work / "plc.img";
    fs::path logFile = work / "log.txt";
    std::unique_ptr<testsupport::BackgroundProcess> plcsim;

    static fs::path Sample() { return kSampleProject; }

    void StartPlc(std::vector<std::string> args = {}) {
        args.insert(args.begin(), {"--link", link, "--verbose", "--image", image.string()});
        plcsim = std::make_unique<testsupport::BackgroundProcess>(PLCSIM_PATH, args, link);
        ASSERT_TRUE(plcsim->running());
    }
    void StopPlc() { plcsim->stop(); }
    void TearDown() override {
        plcsim.reset();
        std::error_code ec;
        fs::remove_all(work, ec);
    }
    testsupport::RunResult Quarnctl(std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", link, "--log", logFile.string()});
        return testsupport::Run(QUARNCTL_PATH, args);
    }
    // A PLC holding the sample project. Making it takes a real download (about 12 s), so
    // the image is kept beside the test program for the next test, as long as neither
    // plcsim nor quarnctl was rebuilt.
    void UseLoadedImage() {
        auto stamp = [](const char* program) {
            return std::to_string(fs::last_write_time(program).time_since_epoch().count());
        };
        const fs::path cached =
            fs::path(QUARNCTL_PATH).parent_path() /
            ("transfer-test-loaded-" + stamp(PLCSIM_PATH) + "-" + stamp(QUARNCTL_PATH) + ".img");
        if (!fs::exists(cached)) {
            StartPlc();
            auto result = Quarnctl({"--yes", "download", (Sample() / "project.pr").string()});
            ASSERT_EQ(result.exitStatus, 0) << result.err;
            StopPlc();
            const fs::path part = cached.string() + ".part-" + work.filename().string();
            fs::copy_file(image, part, fs::copy_options::overwrite_existing);
            // Images of earlier builds are of no more use.
            std::error_code ec;
            for (const auto& e : fs::directory_iterator(cached.parent_path(), ec)) {
                const std::string name = e.path().filename().string();
                if (name.rfind("transfer-test-loaded-", 0) == 0 && name.ends_with(".img"))
                    fs::remove(e.path(), ec);
            }
            fs::rename(part, cached);
        }
        fs::copy_file(cached, image, fs::copy_options::overwrite_existing);
    }
};

TEST_F(TransferAgainstPlcsim, DownloadInOneRunIsUploadedInTheNext) {
    StartPlc();
    auto download = Quarnctl({"--yes", "download", (Sample() / "project.pr").string()});
    EXPECT_EQ(download.exitStatus, 0) << download.err;
    EXPECT_NE(download.out.find("All Modules successfully downloaded\n"), std::string::npos);
    EXPECT_NE(download.out.find("PUMPCTRL.ob      1602 of     1602 Bytes transfered\n"),
              std::string::npos)
        << download.out;
    StopPlc();

    StartPlc();
    auto directory = Quarnctl({"directory"});
    EXPECT_EQ(directory.exitStatus, 0);
    EXPECT_NE(directory.out.find("Project: TANK PLANT 7\nModules: 4\n"), std::string::npos)
        << directory.out;
    EXPECT_NE(directory.out.find(" 2  PUMPCTRL    30    1600     3  2.0"), std::string::npos);

    const fs::path folder = work / "up" / "project";
    auto upload = Quarnctl({"upload", folder.string()});
    EXPECT_EQ(upload.exitStatus, 0) << upload.err;
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"ALARMS.ob", "PUMPCTRL.ob", "STARTUP.ob",
                                                       "TANKDATA.ob", "project.kb", "project.pr"}));
    EXPECT_EQ(Read(folder / "project.pr"), Read(Sample() / "project.pr"));
    EXPECT_EQ(Read(folder / "project.kb"), Read(Sample() / "project.kb"));
    // Module code and the header fields download does not set are the sample's.
    EXPECT_EQ(Read(folder / "PUMPCTRL.ob").substr(30), Read(Sample() / "PUMPCTRL.ob").substr(30));

    const std::string log = Read(logFile);
    EXPECT_NE(log.find("Start download at "), std::string::npos);
    EXPECT_NE(log.find("\tALARMS.ob\t ok\r\nAll Modules successfully downloaded at "),
              std::string::npos);
    EXPECT_NE(log.find("\tproject/project.kb\tok\r\nAll Modules successfully uploaded at "),
              std::string::npos)
        << log;
}

TEST_F(TransferAgainstPlcsim, ProjectRefusedOnThePcLeavesThePlcUntouched) {
    UseLoadedImage();
    const std::string before = ProgramMemory(image);
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> spoil;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"configuration file missing", [](const fs::path& p) { fs::remove(p / "project.kb"); },
         "Can't open kb file\nKein Konfigurationsblock\n"},
        // The message as the dialog shows it, then the line that says why.
        {"module file missing", [](const fs::path& p) { fs::remove(p / "ALARMS.ob"); },
         "1 ALARMS.ob\nCannot read " + (work / "module file missing" / "ALARMS.ob").string() +
             ": it does not exist\n"},
        {"module file truncated",
         [](const fs::path& p) { fs::resize_file(p / "PUMPCTRL.ob", 1000); }, "14 PUMPCTRL.ob\n"},
        {"name too long",
         [](const fs::path& p) {
             fs::rename(p / "STARTUP.ob", p / "STARTUPSEQ.ob");
             std::string pr = Read(p / "project.pr");
             pr.replace(pr.find("STARTUP.ob   "), 13, "STARTUPSEQ.ob");
             std::ofstream(p / "project.pr", std::ios::binary) << pr;
         },
         "Module file name longer than 8 characters (module names have at most 8): "
         "STARTUPSEQ.ob\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path project = work / c.what;
        CopyProject(Sample(), project);
        c.spoil(project);
        StartPlc();
        auto result = Quarnctl({"--yes", "download", (project / "project.pr").string()});
        StopPlc();
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_EQ(result.err,
                  "The PLC answered at station 64; --station 64 skips the search.\n" + c.err);
        EXPECT_EQ(result.out, "Scan SPS SP\nGet SPS directory\nTitle: TANK PLANT 7\n");
        EXPECT_TRUE(ProgramMemory(image) == before);
        // Reads only: identify twice, information block, directory, headers, block.
        EXPECT_EQ(plcsim->output().find("FF 04 27"), std::string::npos);
    }
}

TEST_F(TransferAgainstPlcsim, SilenceDuringTheDownloadAbortsIt) {
    // Search, identify, information block, directory (2), flags, flags, block (3),
    // TANKDATA (3), PUMPCTRL's reservation and first telegram; its second one goes unanswered.
    StartPlc({"--fault", "silent-after=16"});
    auto result = Quarnctl({"--yes", "download", (Sample() / "project.pr").string()});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("PC->Quarn download aborted, please restart download\n"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.out.find("PUMPCTRL.ob       256 of     1602 Bytes transfered\n"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(result.out.find("All Modules"), std::string::npos);
}

TEST_F(TransferAgainstPlcsim, NumberZeroFromThePlcEndsTheModulesAndStartsThePlc) {
    StartPlc({"--fault", "assign-zero"});
    auto result = Quarnctl({"--yes", "download", (Sample() / "project.pr").string()});
    StopPlc();
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("Error or pause\n"), std::string::npos) << result.err;
    EXPECT_EQ(result.out.find("All Modules"), std::string::npos);
    const std::string& sim = plcsim->output();
    EXPECT_NE(sim.find("<- 68 06 06 68 40 FF 04 20 00 00 63 16"), std::string::npos);
    EXPECT_EQ(Read(logFile).find("All Modules"), std::string::npos);
}

TEST_F(TransferAgainstPlcsim, WrongChecksumIsMarkedOnUploadAndRefusedOnDownload) {
    UseLoadedImage();
    StartPlc({"--fault", "bad-checksum=2"});
    const fs::path folder = work / "damaged" / "project";
    auto upload = Quarnctl({"upload", folder.string()});
    StopPlc();
    EXPECT_EQ(upload.exitStatus, 0) << upload.err;
    EXPECT_EQ(upload.err,
              "The PLC answered at station 64; --station 64 skips the search.\n"
              "ERROR_BLOCK_CHECKSUM" +
                  (folder / "PUMPCTRL.ob").string() + "\n");
    EXPECT_EQ(static_cast<unsigned char>(Read(folder / "PUMPCTRL.ob")[20]), 0x82u);

    UseLoadedImage();
    const std::string before = ProgramMemory(image);
    StartPlc();
    auto download = Quarnctl({"--yes", "download", (folder / "project.pr").string()});
    StopPlc();
    EXPECT_EQ(download.exitStatus, 1);
    EXPECT_EQ(download.err,
              "The PLC answered at station 64; --station 64 skips the search.\n"
              "ERROR_FILEDATAPUMPCTRL.ob 130.0 <-> 2.0\n");
    EXPECT_TRUE(ProgramMemory(image) == before);
}

TEST_F(TransferAgainstPlcsim, InterruptedUploadNeverLeavesATruncatedFile) {
    UseLoadedImage();
    const fs::path folder = work / "keep" / "project";
    CopyProject(Sample(), folder);
    // Search, identify, information block, directory (2), headers (4), block (3), TANKDATA,
    // then PUMPCTRL's third chunk goes unanswered.
    StartPlc({"--fault", "silent-after=15"});
    auto result = Quarnctl({"--yes", "upload", folder.string()});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("Quarn->PC upload aborted, please restart upload\n"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"ALARMS.ob", "PUMPCTRL.ob", "STARTUP.ob",
                                                       "TANKDATA.ob", "project.kb", "project.pr"}));
    EXPECT_EQ(Read(folder / "PUMPCTRL.ob"), Read(Sample() / "PUMPCTRL.ob"));
}

TEST_F(TransferAgainstPlcsim, ALostHeaderAnswerIsAskedForAgainForTheSameModule) {
    UseLoadedImage();
    const fs::path folder = work / "noisy" / "project";
    StartPlc({"--fault", "drop-answer=0x0A:2"});
    auto result = Quarnctl({"--yes", "upload", folder.string()});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"ALARMS.ob", "PUMPCTRL.ob", "STARTUP.ob",
                                                       "TANKDATA.ob", "project.kb", "project.pr"}));
    EXPECT_EQ(Read(folder / "project.pr"), Read(Sample() / "project.pr"));
    for (const char* name : {"TANKDATA.ob", "PUMPCTRL.ob", "STARTUP.ob", "ALARMS.ob"})
        EXPECT_EQ(Read(folder / name).substr(30), Read(Sample() / name).substr(30)) << name;
}

TEST_F(TransferAgainstPlcsim, UploadAsksBeforeOverwritingAndNoKeepsTheFiles) {
    UseLoadedImage();
    const fs::path folder = work / "mine" / "project";
    fs::create_directories(folder);
    std::ofstream(folder / "TANKDATA.ob") << "my own tank data";
    StartPlc();
    auto result = Quarnctl({"upload", folder.string()});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("Ovwewrite Files? [y/N] no"), std::string::npos) << result.err;
    EXPECT_NE(result.out.find("Upload aborted\n"), std::string::npos);
    EXPECT_EQ(Read(folder / "TANKDATA.ob"), "my own tank data");
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"TANKDATA.ob"}));
}

TEST_F(TransferAgainstPlcsim, ALogThatCannotBeWrittenDoesNotStopTheUpload) {
    UseLoadedImage();
    const fs::path folder = work / "empty";
    fs::create_directories(folder);
    StartPlc();
    // A file name the file system refuses.
    auto result = testsupport::Run(
        QUARNCTL_PATH, {"--port", link, "--log", (work / std::string(300, 'x')).string(), "upload",
                        folder.string()});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.out.find("All Modules successfully uploaded"), std::string::npos);
    EXPECT_TRUE(fs::exists(folder / "empty.kb"));
    EXPECT_TRUE(fs::exists(folder / "empty.pr"));
}

}  // namespace
