// Whole transfers on virtual time against the simulated display's own answer builder:
// the order of commands and status texts, the clock step, and every way a transfer ends.
#include "setup_tool/core/setup_sender.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <random>

#include "common/recording_frontend.h"
#include "link/scripted_device.h"
#include "sim/display/display_model.h"
#include "sim/display/display_request.h"

namespace fs = std::filesystem;

namespace {

// Answers the time dialog from a script; cancels once the script is used up.
struct ScriptedTimeDate : setup::TimeDateDialog {
    std::optional<setup::ClockEntry> show(const setup::ClockEntry& prefilled) override {
        shown.push_back(prefilled);
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<setup::ClockEntry>> answers;
    std::vector<setup::ClockEntry> shown;
};

struct Sender : ::testing::Test {
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("skellig-sender-" + std::to_string(std::random_device()()));
        fs::create_directories(dir);
        device.respond([this](const std::string& written) {
            std::string answer;
            for (char c : written)
                if (auto request = parser.feed(static_cast<std::uint8_t>(c)))
                    for (const auto& part : display->respond(*request)) answer += part.bytes;
            return answer;
        });
        ASSERT_TRUE(sender.OpenPort("ttyUSB0"));
    }
    void TearDown() override { fs::remove_all(dir); }

    void Faults(sim::DisplayFaults faults) { display.emplace(faults, "", ""); }
    fs::path WriteSetup(const std::string& bytes, const std::string& text, bool withText = true) {
        std::ofstream(dir / "anlage.set", std::ios::binary) << bytes;
        if (withText) std::ofstream(dir / "anlage.txt", std::ios::binary) << text;
        return dir / "anlage.set";
    }
    // A record with variant byte and the table switch as asked.
    static std::string Record(int variant, bool tables) {
        std::string bytes(1315, '\0');
        bytes[1] = static_cast<char>(variant);
        if (tables) bytes[1039] = 1;
        return bytes;
    }
    std::vector<std::string> Written() const {
        std::vector<std::string> out;
        for (const auto& w : device.writes()) out.push_back(w);
        return out;
    }
    std::size_t CountStarting(const std::string& prefix) const {
        std::size_t n = 0;
        for (const auto& w : device.writes()) n += w.rfind(prefix, 0) == 0;
        return n;
    }

    fs::path dir;
    common::FakeClock clock;
    serial::ScriptedDevice device{clock};
    common::RecordingFrontend frontend;
    ScriptedTimeDate timeDate;
    setup::LocalTime now{2024, 3, 7, 9, 5, 3};
    setup::CSetupSender sender{device, frontend, timeDate, [this] { return now; }};
    sim::DisplayRequestParser parser;
    std::optional<sim::DisplayModel> display{std::in_place, sim::DisplayFaults{}, "", ""};
};

}  // namespace

TEST_F(Sender, FullTransferInOrder) {
    auto path = WriteSetup(Record(1, true), "one\ntwo\nthree\nfour\nfive\n");
    setup::ClockEntry entry = setup::PrefilledEntry(now);
    entry.rule = setup::kWinterTime;
    timeDate.answers.push_back(entry);
    EXPECT_EQ(sender.SendSetup(path), setup::SendOutcome::Done);

    auto w = Written();
    ASSERT_EQ(w.size(), 1u + 253u + 5u + 3u + 1u);
    EXPECT_EQ(w.front(), "@TA\r");
    EXPECT_EQ(w[1].rfind("@TB", 0), 0u);
    EXPECT_EQ(w[77].rfind("@TF01/", 0), 0u);
    EXPECT_EQ(w[253], "@TM21/000\r");
    EXPECT_EQ(w[254], "@TK0000/01/one" + std::string(37, ' ') + "\r");
    EXPECT_EQ(w[258], "@TK0002/01/five" + std::string(36, ' ') + "\r");
    EXPECT_EQ(w[259], "@U09:05:03\r");
    EXPECT_EQ(w[260], "@UW\r");
    EXPECT_EQ(w[261], "@D07.03.24\r");
    EXPECT_EQ(w.back(), "@Ta\r");
    EXPECT_EQ(frontend.texts("status"), (std::vector<std::string>{"Send setup", "Text page: 0000",
                                                                  "Text page: 0001", "Ready"}));
    EXPECT_TRUE(frontend.texts("message").empty());
    ASSERT_EQ(timeDate.shown.size(), 1u);
    EXPECT_EQ(timeDate.shown[0].day, "7");
}

TEST_F(Sender, ZeroTableSwitchGoesStraightFromTnToTheText) {
    auto path = WriteSetup(Record(4, false), "x\n");
    EXPECT_EQ(sender.SendSetup(path), setup::SendOutcome::Done);
    auto w = Written();
    ASSERT_EQ(w.size(), 1u + 76u + 1u + 1u);
    EXPECT_EQ(w[76].rfind("@TN", 0), 0u);
    EXPECT_EQ(w[77].rfind("@TK0000/01/x", 0), 0u);
    // The page of one line is not complete: no "Text page" status.
    EXPECT_EQ(frontend.texts("status"), (std::vector<std::string>{"Send setup", "Ready"}));
}

TEST_F(Sender, TwoTransfersEachBeginWithTheLogin) {
    auto path = WriteSetup(Record(1, false), "");
    EXPECT_EQ(sender.SendSetup(path), setup::SendOutcome::Done);
    std::size_t first = device.writes().size();
    EXPECT_EQ(sender.SendSetup(path), setup::SendOutcome::Done);
    EXPECT_EQ(device.writes()[first], "@TA\r");
    EXPECT_EQ(CountStarting("@TA\r"), 2u);
}

TEST_F(Sender, SilentDisplayEndsAtTheLogin) {
    sim::DisplayFaults f;
    f.silent = true;
    Faults(f);
    auto path = WriteSetup(Record(1, false), "x\n");
    EXPECT_EQ(sender.SendSetup(path), setup::SendOutcome::LoginFailed);
    EXPECT_EQ(Written(), std::vector<std::string>{"@TA\r"});
    EXPECT_EQ(frontend.texts("message"), std::vector<std::string>{"No connection"});
    EXPECT_EQ(clock.now().count(), 2000);
    EXPECT_TRUE(timeDate.shown.empty());
}

TEST_F(Sender, WrongLoginCharacter) {
    sim::DisplayFaults f;
    f.wrongLogin = true;
    Faults(f);
    EXPECT_EQ(sender.SendSetup(WriteSetup(Record(1, false), "")), setup::SendOutcome::LoginFailed);
    EXPECT_EQ(frontend.texts("message"), std::vector<std::string>{"No login"});
    EXPECT_EQ(device.writes().size(), 1u);
}

TEST_F(Sender, MissingSetupFileIsNamedAndTheDisplayLoggedOut) {
    EXPECT_EQ(sender.SendSetup(dir / "absent.set"), setup::SendOutcome::SetupFileMissing);
    EXPECT_EQ(Written(), (std::vector<std::string>{"@TA\r", "@Ta\r"}));
    EXPECT_EQ(frontend.texts("message"), std::vector<std::string>{"Cannot open the setup file " +
                                                                  (dir / "absent.set").string()});
    EXPECT_TRUE(frontend.texts("status").empty());
}

TEST_F(Sender, SetupFileFoundIgnoringCase) {
    std::ofstream(dir / "ANLAGE.SET", std::ios::binary) << Record(1, false);
    std::ofstream(dir / "Anlage.Txt", std::ios::binary) << "a\nb\n";
    EXPECT_EQ(sender.SendSetup(dir / "anlage.set"), setup::SendOutcome::Done);
    EXPECT_EQ(CountStarting("@TK"), 2u);
}

TEST_F(Sender, MissingTextFileSendsNoPagesAndSaysNothing) {
    auto path = WriteSetup(Record(1, false), "", false);
    EXPECT_EQ(sender.SendSetup(path), setup::SendOutcome::Done);
    EXPECT_EQ(CountStarting("@TK"), 0u);
    EXPECT_TRUE(frontend.texts("message").empty());
    EXPECT_EQ(frontend.texts("status"), (std::vector<std::string>{"Send setup", "Ready"}));
    EXPECT_EQ(timeDate.shown.size(), 1u);
}

TEST_F(Sender, DisplayFallsSilentDuringTe) {
    sim::DisplayFaults f;
    f.silentFrom = 1 + 1 + 8 + 1 + 5;  // the fifth "@TE"
    Faults(f);
    EXPECT_EQ(sender.SendSetup(WriteSetup(Record(1, true), "x\n")), setup::SendOutcome::SendFailed);
    EXPECT_EQ(frontend.texts("message"), std::vector<std::string>{"Timeout"});
    EXPECT_EQ(frontend.status(), "Send setup");
    EXPECT_EQ(device.writes().back(), "@TE005/0000\r");
    EXPECT_TRUE(timeDate.shown.empty());
    EXPECT_EQ(CountStarting("@Ta"), 0u);
}

TEST_F(Sender, WrongChecksumOnPageThreeKeepsTheLastPageStatus) {
    sim::DisplayFaults f;
    f.wrongChecksumAt = 1 + 76 + 2 * 3 + 1;  // the first line of page 3
    Faults(f);
    std::string text;
    for (int i = 0; i < 10; ++i) text += "line\n";
    EXPECT_EQ(sender.SendSetup(WriteSetup(Record(1, false), text)), setup::SendOutcome::SendFailed);
    EXPECT_EQ(frontend.texts("message"), std::vector<std::string>{"Wrong checksum"});
    EXPECT_EQ(frontend.status(), "Text page: 0002");
    EXPECT_EQ(device.writes().back().rfind("@TK0003/01/", 0), 0u);
    EXPECT_EQ(CountStarting("@Ta"), 0u);
}

TEST_F(Sender, ShortAcknowledgementIsAWrongChecksum) {
    sim::DisplayFaults f;
    f.shortAckAt = 2;
    Faults(f);
    EXPECT_EQ(sender.SendSetup(WriteSetup(Record(1, false), "")), setup::SendOutcome::SendFailed);
    EXPECT_EQ(frontend.texts("message"), std::vector<std::string>{"Wrong checksum"});
}

TEST_F(Sender, CancelledClockStillLogsOut) {
    EXPECT_EQ(sender.SendSetup(WriteSetup(Record(1, false), "")), setup::SendOutcome::Done);
    EXPECT_EQ(CountStarting("@U"), 0u);
    EXPECT_EQ(CountStarting("@D"), 0u);
    EXPECT_EQ(device.writes().back(), "@Ta\r");
    EXPECT_EQ(frontend.status(), "Ready");
}

TEST_F(Sender, InvalidClockValuesShowTheDialogAgainWithTheCurrentTime) {
    setup::ClockEntry invalid = setup::PrefilledEntry(now);
    invalid.year = "24";
    timeDate.answers.push_back(invalid);
    setup::ClockEntry valid = setup::PrefilledEntry(now);
    valid.hours = "23";
    timeDate.answers.push_back(valid);
    (void)sender.SendSetup(WriteSetup(Record(1, false), ""));
    ASSERT_EQ(timeDate.shown.size(), 2u);
    EXPECT_EQ(timeDate.shown[1].year, "2024");  // filled anew, the entry lost
    EXPECT_EQ(CountStarting("@U23:05:03\r"), 1u);
    EXPECT_EQ(CountStarting("@US\r"), 1u);
}

TEST_F(Sender, LogoutWithoutItsAnswer) {
    sim::DisplayFaults f;
    f.wrongLogout = true;
    Faults(f);
    EXPECT_EQ(sender.SendSetup(WriteSetup(Record(1, false), "a\nb\n")),
              setup::SendOutcome::LogoutFailed);
    EXPECT_EQ(frontend.texts("message"), std::vector<std::string>{"No connection"});
    EXPECT_EQ(frontend.status(), "Text page: 0000");
}
