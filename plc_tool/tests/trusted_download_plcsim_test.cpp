// quarnctl's dry run, backup, verify, --station and watch --csv against plcsim in real time.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "testsupport/process.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSample = fs::path(SAMPLES_DIR) / "project";
const std::string kHint = "The PLC answered at station 64; --station 64 skips the search.\n";

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return in ? out.str() : "<missing>";
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The image without what a download may change besides the program: the live values
// (0x0200-0x023F) and the dates in the module headers (0x2000 + 32 * number, bytes 9-13).
std::string ProgramMemory(const fs::path& image) {
    std::string bytes = Read(image);
    if (bytes.size() < 0x3000) return bytes;
    bytes.replace(0x200, 0x40, std::string(0x40, '\0'));
    for (int number = 1; number < 64; ++number)
        bytes.replace(0x2000 + 32 * number + 9, 5, std::string(5, '\0'));
    return bytes;
}

struct TrustedAgainstPlcsim : ::testing::Test {
    std::string link = testsupport::FreshLinkPath("plc");
    fs::path work = fs::path(link).parent_path();
    fs::path image = work / "plc.img";
    fs::path logFile = work / "log.txt";
    std::unique_ptr<testsupport::BackgroundProcess> plcsim;

    void StartPlc(std::vector<std::string> args = {}) {
        args.insert(args.begin(), {"--link", link, "--verbose", "--image", image.string()});
        plcsim = std::make_unique<testsupport::BackgroundProcess>(PLCSIM_PATH, args, link);
        ASSERT_TRUE(plcsim->running());
    }
    // What plcsim received, once stopped.
    std::string Received() {
        plcsim->stop();
        return plcsim->output();
    }
    void TearDown() override {
        plcsim.reset();
        std::error_code ec;
        fs::remove_all(work, ec);
    }
    testsupport::RunResult Quarnctl(std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", link, "--log", logFile.string(), "--yes"});
        return testsupport::Run(QUARNCTL_PATH, args);
    }
    // The sample's configuration block and first module only.
    fs::path SmallProject() {
        const fs::path folder = work / "small";
        fs::create_directories(folder);
        for (const char* name : {"project.kb", "TANKDATA.ob"})
            fs::copy_file(kSample / name, folder / name);
        std::ofstream(folder / "small.pr") << "  0|10 | A |    |   |project.kb   \r\n"
                                           << "  1|4  | A |    |   |TANKDATA.ob  \r\n";
        return folder / "small.pr";
    }
};

}  // namespace

TEST_F(TrustedAgainstPlcsim, DryRunVerifyBackupAndRestore) {
    StartPlc();
    const std::string sample = (kSample / "project.pr").string();
    auto loaded = Quarnctl({"download", sample, "--verify"});
    ASSERT_EQ(loaded.exitStatus, 0) << loaded.err;
    EXPECT_TRUE(Has(loaded.out, "All Modules successfully downloaded\nVerify PLC\n"));
    EXPECT_TRUE(Has(Read(logFile), "Verify ok\r\n"));
    const std::string before = ProgramMemory(image);
    const std::string small = SmallProject().string();

    auto dry = Quarnctl({"download", small, "--dry-run"});
    EXPECT_EQ(dry.exitStatus, 0) << dry.err;
    EXPECT_EQ(dry.err, kHint);
    EXPECT_TRUE(Has(dry.out, "Modules deleted: 4\n   1  TANKDATA  kind 4        96 bytes\n"))
        << dry.out;
    EXPECT_TRUE(Has(dry.out, "Configuration block: replaced (asks first), title \"TANK PLANT 7\""));
    EXPECT_TRUE(Has(dry.out, "Modules written: 1\n  TANKDATA.ob   TANKDATA  number  1  kind 4"));
    EXPECT_TRUE(Has(dry.out, "Time: ")) << dry.out;
    EXPECT_EQ(ProgramMemory(image), before);

    auto same = Quarnctl({"--station", "64", "verify", sample});
    EXPECT_EQ(same.exitStatus, 0) << same.out;
    EXPECT_EQ(same.err, "");
    auto other = Quarnctl({"--station", "64", "verify", small});
    EXPECT_EQ(other.exitStatus, 1);
    EXPECT_TRUE(Has(other.out, "PUMPCTRL: in the PLC, not in the project\n")) << other.out;
    EXPECT_EQ(other.err, "Verify failed\n");

    const fs::path backups = work / "backups";
    auto backed =
        Quarnctl({"--station", "64", "download", small, "--backup", backups.string(), "--verify"});
    ASSERT_EQ(backed.exitStatus, 0) << backed.err << backed.out;
    ASSERT_EQ(std::distance(fs::directory_iterator(backups), fs::directory_iterator()), 1);
    const fs::path folder = fs::directory_iterator(backups)->path();
    EXPECT_TRUE(std::regex_match(folder.filename().string(),
                                 std::regex("TANK_PLANT_7-20[0-9]{6}-[0-9]{6}")));
    EXPECT_TRUE(Has(backed.out, "Backup: " + folder.string() + "\n"));
    EXPECT_NE(ProgramMemory(image), before);

    auto restored = Quarnctl({"--station", "64", "download", (folder / "TANK_PLA.pr").string()});
    EXPECT_EQ(restored.exitStatus, 0) << restored.err;
    EXPECT_EQ(ProgramMemory(image), before);
    const std::string received = Received();
    // The dry run's reads only: nothing that changes the PLC between two directory reads.
    const size_t dryStart = received.find("FF 04 2E", received.find("FF 04 20 00 00"));
    const size_t dryEnd = received.find("FF 04 2E", received.find("FF 04 2E", dryStart + 1) + 1);
    for (const char* change :
         {"FF 04 27", "FF 04 42", "FF 04 46", "FF 04 07", "FF 04 44", "FF 04 45", "FF 04 20"})
        EXPECT_EQ(received.substr(dryStart, dryEnd - dryStart).find(change), std::string::npos)
            << change;
}

TEST_F(TrustedAgainstPlcsim, VerifyReportsTheByteACorruptWriteChanged) {
    // Writes 1-3: the configuration block; 4 TANKDATA's code; 5 its header.
    StartPlc({"--fault", "corrupt-write=5"});
    auto result = Quarnctl({"download", SmallProject().string(), "--verify"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_TRUE(
        std::regex_search(result.out, std::regex("\nTANKDATA: byte 16 expected ([0-9A-F]{2}) found "
                                                 "[0-9A-F]{2}\n$")))
        << result.out;
    EXPECT_TRUE(Has(result.err, "yes (--yes)\nVerify failed\n")) << result.err;
    EXPECT_TRUE(Has(Read(logFile), "Verify failed\r\n\tTANKDATA: byte 16 expected"));
}

TEST_F(TrustedAgainstPlcsim, FailedBackupLeavesThePlcUntouched) {
    const std::string small = SmallProject().string();
    std::ofstream(work / "a-file") << "x";
    StartPlc();
    auto unwritable =
        Quarnctl({"--station", "64", "download", small, "--backup", (work / "a-file").string()});
    EXPECT_EQ(unwritable.exitStatus, 1);
    EXPECT_TRUE(Has(unwritable.err, "Cannot create the backup folder "));
    EXPECT_TRUE(Has(unwritable.err, "PC->Quarn download aborted, please restart download\n"));
    EXPECT_FALSE(Has(Received(), "FF 04 27"));

    // Identify twice, information block, two directory reads; then the backup's reads
    // get no answer.
    StartPlc({"--fault", "silent-after=5"});
    auto silent = Quarnctl({"download", small, "--backup", (work / "b").string()});
    EXPECT_EQ(silent.exitStatus, 1);
    EXPECT_TRUE(Has(silent.err, "PC->Quarn download aborted, please restart download\n"));
    EXPECT_FALSE(Has(Received(), "FF 04 27"));
}

TEST_F(TrustedAgainstPlcsim, StationWithoutTheSearch) {
    StartPlc({"--station", "3"});
    auto right = Quarnctl({"--station", "3", "identify"});
    EXPECT_EQ(right.exitStatus, 0);
    EXPECT_EQ(right.out, "Station address: 3\nFirmware: 2.0\n");
    EXPECT_EQ(right.err, "");
    auto wrong = Quarnctl({"--station", "4", "identify"});
    EXPECT_EQ(wrong.exitStatus, 1);
    EXPECT_EQ(wrong.err, "No answer from SPS! Please check connection and retry.\n");
    const std::string received = Received();
    // One identify request each, no search.
    EXPECT_EQ(std::count(received.begin(), received.end(), '<'), 2) << received;
}

TEST_F(TrustedAgainstPlcsim, WatchAppendsACsvRowPerPage) {
    const std::string samples = std::string(SAMPLES_DIR) + "/monitor/";
    plcsim = std::make_unique<testsupport::BackgroundProcess>(
        PLCSIM_PATH, std::vector<std::string>{"--link", link, "--memory", samples + "demo.mem"},
        link);
    ASSERT_TRUE(plcsim->running());
    const fs::path csv = work / "watch.csv";
    auto result = testsupport::Run(QUARNCTL_PATH, {"--port", link, "watch", samples + "demo.ot",
                                                   "--cycles", "3", "--csv", csv.string()});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    std::istringstream lines(Read(csv));
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), 4u) << Read(csv);
    EXPECT_EQ(rows[0].rfind("Time,MW200,M210.1,", 0), 0u) << rows[0];
    for (size_t i = 1; i < rows.size(); ++i) {
        EXPECT_TRUE(std::regex_search(
            rows[i],
            std::regex("^20[0-9]{2}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{3},")))
            << rows[i];
        EXPECT_EQ(rows[i].back(), '\r');
    }
    // The counter (MW200, the first cell) changes from page to page.
    const auto first = [](const std::string& row) {
        return row.substr(24, row.find(',', 24) - 24);
    };
    EXPECT_NE(first(rows[1]), first(rows[2]));
}
