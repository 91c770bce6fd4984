// skelligctl against displaysim, end to end: the sample's whole session compared with a
// command list built here from the setup file's bytes, and every way a transfer ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/clock.h"
#include "testsupport/process.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> RecordLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::istringstream in(Slurp(path));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// printf into a std::string, for the expected commands.
template <typename... Args>
std::string F(const char* format, Args... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

// The session a display must see for a setup file and its text, built from the bytes with
// the field table of the setup file (login to logout, as recorded: no "\r").
std::vector<std::string> ExpectedSession(const std::string& set, const std::string& text,
                                         const std::vector<std::string>& clock) {
    auto b = [&](int at) { return static_cast<int>(static_cast<unsigned char>(set[at])); };
    auto w = [&](int at) { return b(at) | (b(at + 1) << 8); };
    auto sw = [&](int at) { return static_cast<int>(static_cast<short>(w(at))); };
    std::vector<std::string> s{"@TA"};
    s.push_back(F("@TB%d%d%d%d%d%d%d%d%d%d%02d%d%d%02d%02d%04d", b(0), b(1), b(2), b(3), b(28),
                  b(29) - 1, b(30), b(31) - 7, b(32), b(33), b(34), b(35), b(36), b(37), b(38),
                  sw(39)));
    for (int i = 0; i < 8; ++i) s.push_back(F("@TC%02d/%03d", 9 + i, b(41 + i)));
    std::string td = "@TD";
    for (int i = 4; i < 28; ++i) td += std::to_string(b(i));
    s.push_back(td);
    for (int g = 0; g < 8; ++g)
        for (int k = 0; k < 8; ++k)
            s.push_back(F("@TE%03d/%04d", 30 * g + k + 1, sw(49 + 2 * (8 * g + k))));
    s.push_back(F("@TL%04d%05d%d%d%d%04d%d%04d%d        %05d%d%d%05d%d%d", sw(977), w(979), b(981),
                  b(982), b(983), sw(984), b(986), sw(987), sw(989), w(1000), b(1004), b(1006),
                  w(1002), b(1005), b(1007)) +
                F("%04d%04d%02d%04d%04d%02d%04d%04d%02d%04d%04d%02d", w(1008), w(1010), b(1012),
                  w(1013), w(1015), b(1017), w(1018), w(1020), b(1022), w(1023), w(1025), b(1027)));
    std::string tn = "@TN";
    int tableSwitch = w(1039);
    for (int i = 1029; i < 1039; ++i) {
        tn += std::to_string(b(i));
        tableSwitch += b(i);
    }
    s.push_back(tn + F("%05d", w(1039)) + std::string(45, '0'));
    if (tableSwitch != 0) {
        const struct {
            char letter;
            int at, count;
        } tables[] = {{'F', 177, 49}, {'G', 422, 49}, {'H', 667, 27}, {'I', 822, 31}};
        for (const auto& t : tables)
            for (int n = 0; n < t.count; ++n) {
                int e = t.at + 5 * n;
                s.push_back(F("@T%c%02d/%d%d%d%d/%02d/%04d", t.letter, n + 1, (b(e) >> 2) & 1,
                              b(e) & 1, (b(e) >> 1) & 1, (b(e) >> 3) & 1, b(e + 1), w(e + 2)));
            }
        for (int n = 1; n <= 21; ++n) s.push_back(F("@TM%02d/000", n));
    }
    const int perPage = b(1) == 4 ? 6 : 2;
    std::istringstream in(text);
    int index = 0;
    for (std::string line; std::getline(in, line); ++index) {
        std::string clean;
        for (char c : line)
            if (c != '\r') clean += c;
        clean.resize(40, ' ');
        s.push_back(F("@TK%04d/%02d/", index / perPage, index % perPage + 1) + clean);
    }
    s.insert(s.end(), clock.begin(), clock.end());
    s.push_back("@Ta");
    return s;
}

struct Skelligctl : ::testing::Test {
    void SetUp() override {
        link = testsupport::FreshLinkPath("display");
        dir = fs::path(link).parent_path();
        record = dir / "record.txt";
    }
    void TearDown() override {
        sim.reset();
        fs::remove_all(dir);
    }
    void StartSim(std::vector<std::string> faults = {}) {
        std::vector<std::string> args{"--link", link, "--record", record.string()};
        for (const auto& f : faults) {
            args.push_back("--fault");
            args.push_back(f);
        }
        sim = std::make_unique<testsupport::BackgroundProcess>(DISPLAYSIM_PATH, args, link);
        ASSERT_TRUE(sim->running());
    }
    testsupport::RunResult Send(const fs::path& textFile, std::vector<std::string> extra = {}) {
        std::vector<std::string> args{"--port", link, "send", textFile.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        auto result = testsupport::Run(SKELLIGCTL_PATH, args);
        sim->stop();  // the record is complete once the display is gone
        return result;
    }
    // A setup of variant 1 (two lines a page) with the table switch off and lines of text.
    fs::path SmallSetup(int textLines, bool withText = true) {
        std::string set(1315, '\0');
        set[1] = 1;
        std::ofstream(dir / "small.set", std::ios::binary) << set;
        if (withText) {
            std::ofstream text(dir / "small.txt", std::ios::binary);
            for (int i = 0; i < textLines; ++i) text << "line " << i << "\r\n";
        }
        return dir / "small.txt";
    }

    std::string link;
    fs::path dir, record;
    std::unique_ptr<testsupport::BackgroundProcess> sim;
};

const std::vector<std::string> kWinterClock{"@U09:05:03", "@UW", "@D07.03.24"};
const std::vector<std::string> kClockOptions{"--time",     "09:05:03", "--date",
                                             "07.03.2024", "--dst",    "winter"};

}  // namespace

TEST_F(Skelligctl, SampleSessionIsExactlyTheExpectedCommands) {
    StartSim();
    const fs::path sample = fs::path(SAMPLES_DIR) / "anlage.txt";
    auto result = Send(sample, kClockOptions);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "");
    auto expected =
        ExpectedSession(Slurp(fs::path(SAMPLES_DIR) / "anlage.set"), Slurp(sample), kWinterClock);
    EXPECT_EQ(expected.size(), 1u + 253u + 20u + 3u + 1u);  // the sample has the tables on
    EXPECT_EQ(RecordLines(record), expected);
    EXPECT_EQ(result.out,
              "Send setup\nText page: 0000\nText page: 0001\nText page: 0002\n"
              "Time / Date: 09:05:03 07.03.2024 Winter time\nReady\n");
}

TEST_F(Skelligctl, SilentDisplay) {
    StartSim({"silent"});
    auto result = Send(SmallSetup(2));
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "No connection\n");
    EXPECT_EQ(RecordLines(record), std::vector<std::string>{"@TA"});
}

TEST_F(Skelligctl, LoginAnsweredWrongly) {
    StartSim({"wrong-login"});
    auto result = Send(SmallSetup(2));
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "No login\n");
    EXPECT_EQ(RecordLines(record), std::vector<std::string>{"@TA"});
}

TEST_F(Skelligctl, LoginAnsweredTwice) {
    StartSim({"login-aa"});
    auto result = Send(SmallSetup(2));
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "No connection\n");
}

TEST_F(Skelligctl, MissingSetupFileIsNamedAndTheDisplayLoggedOut) {
    StartSim();
    std::ofstream(dir / "lonely.txt") << "text\n";
    auto result = Send(dir / "lonely.txt");
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "Cannot open the setup file " + (dir / "lonely.set").string() + "\n");
    EXPECT_EQ(RecordLines(record), (std::vector<std::string>{"@TA", "@Ta"}));
}

TEST_F(Skelligctl, MissingTextFileSendsTheSetupAlone) {
    StartSim();
    auto result = Send(SmallSetup(0, false), {"--no-clock"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out, "Send setup\nTime / Date: not set\nReady\n");
    auto lines = RecordLines(record);
    ASSERT_EQ(lines.size(), 1u + 76u + 1u);
    EXPECT_EQ(lines[76].substr(0, 3), "@TN");
    EXPECT_EQ(lines.back(), "@Ta");
}

TEST_F(Skelligctl, WrongChecksumOnPageThree) {
    StartSim({"wrong-checksum:" + std::to_string(1 + 76 + 2 * 3 + 1)});
    auto result = Send(SmallSetup(10));
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "Wrong checksum\n");
    EXPECT_EQ(result.out, "Send setup\nText page: 0000\nText page: 0001\nText page: 0002\n");
    auto lines = RecordLines(record);
    EXPECT_EQ(lines.back().substr(0, 11), "@TK0003/01/");  // no clock, no logout after it
}

TEST_F(Skelligctl, DisplayFallsSilentDuringTe) {
    StartSim({"silent-from:" + std::to_string(1 + 1 + 8 + 1 + 5)});
    auto result = Send(SmallSetup(2));
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "Timeout\n");
    EXPECT_EQ(result.out, "Send setup\n");
    EXPECT_EQ(RecordLines(record).back(), "@TE005/0000");
}

TEST_F(Skelligctl, ClockLeftAloneStillLogsOut) {
    StartSim();
    auto result = Send(SmallSetup(1), {"--no-clock"});
    EXPECT_EQ(result.exitStatus, 0);
    auto lines = RecordLines(record);
    EXPECT_EQ(lines[lines.size() - 2].substr(0, 11), "@TK0000/01/");
    EXPECT_EQ(lines.back(), "@Ta");
}

TEST_F(Skelligctl, LogoutNotAnswered) {
    StartSim({"wrong-logout"});
    auto result = Send(SmallSetup(2), {"--no-clock"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "No connection\n");
    EXPECT_EQ(result.out, "Send setup\nText page: 0000\nTime / Date: not set\n");
}

TEST_F(Skelligctl, InvalidClockValuesSendNothing) {
    StartSim();
    auto result = Send(SmallSetup(2), {"--time", "24:00:00"});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_NE(result.err.find("invalid time or date"), std::string::npos);
    EXPECT_TRUE(RecordLines(record).empty());
}

TEST_F(Skelligctl, CtrlCEndsTheSessionAfterTheCommandOnTheLine) {
    std::vector<std::string> args{"--link", link, "--record", record.string(), "--realtime"};
    sim = std::make_unique<testsupport::BackgroundProcess>(DISPLAYSIM_PATH, args, link);
    ASSERT_TRUE(sim->running());
    const fs::path sample = fs::path(SAMPLES_DIR) / "anlage.txt";
    testsupport::BackgroundProcess tool(
        SKELLIGCTL_PATH,
        std::vector<std::string>{"--port", link, "send", sample.string(), "--time", "09:05:03",
                                 "--date", "07.03.2024", "--dst", "winter"},
        "", true);
    common::RealClock().sleep(common::Millis(2000));  // the whole session takes far longer
    EXPECT_EQ(tool.stop(SIGINT), 130);
    EXPECT_EQ(tool.errors(), "Timeout\nStopped by Ctrl-C (SIGINT)\n");

    // The port is the next run's (once the display has answered the command it was sent
    // last), and that command reached the display whole.
    common::RealClock().sleep(common::Millis(500));
    auto next = testsupport::Run(SKELLIGCTL_PATH, {"--port", link, "send", SmallSetup(2).string()});
    EXPECT_EQ(next.exitStatus, 0) << next.err;
    sim->stop();
    const auto lines = RecordLines(record);
    const auto expected =
        ExpectedSession(Slurp(fs::path(SAMPLES_DIR) / "anlage.set"), Slurp(sample), kWinterClock);
    // The interrupted session is what the record holds before the next run's login.
    ASSERT_FALSE(lines.empty());
    const auto nextLogin = std::find(lines.begin() + 1, lines.end(), std::string("@TA"));
    ASSERT_NE(nextLogin, lines.end());
    const std::vector<std::string> interrupted(lines.begin(), nextLogin);
    EXPECT_GT(interrupted.size(), 1u);
    EXPECT_LT(interrupted.size(), expected.size());
    EXPECT_TRUE(std::equal(interrupted.begin(), interrupted.end(), expected.begin()));
}
