// CProtocolReader on a scripted display and virtual time: the commands, the answer's end by
// the 3 s time-out, the files written and the status texts.
#include "protocol_tool/core/protocol_reader.h"

#include <gtest/gtest.h>

#include "common/recording_frontend.h"
#include "link/scripted_device.h"
#include "link/stop_signals.h"
#include "protocol_tool/core/answer_limits.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

using common::Millis;
using protocol::ProtocolChoice;
using protocol::RetrievalResult;
using Strings = std::vector<std::string>;

namespace {
struct Reader : protocol_test::TempFolder {
    common::FakeClock clock;
    serial::ScriptedDevice device{clock};
    common::RecordingFrontend frontend;
    protocol::CProtocolReader reader{device, frontend};
    std::vector<ProtocolChoice> offered;  // what the Protocol dialog was opened with

    void SetUp() override {
        TempFolder::SetUp();
        ASSERT_TRUE(reader.Link().Open("ttyUSB0"));
    }
    // The Protocol dialog confirmed with the given choice (or cancelled with nullopt).
    protocol::ChooseProtocol Dialog(std::optional<ProtocolChoice> answer) {
        return [this, answer](const ProtocolChoice& current) {
            offered.push_back(current);
            return answer;
        };
    }
    // The display answers the request (the write after "@@/r") with these bytes.
    void AnswerRequestWith(const std::string& bytes) {
        device.respond([bytes](const std::string& written) {
            return written == "@@/r" ? std::string() : bytes;
        });
    }
    RetrievalResult Get(const fs::path& path, int mode, int cnt, bool translate = false) {
        return reader.GetProtocol(path, translate, Dialog(ProtocolChoice{mode, cnt}));
    }
};
}  // namespace

TEST_F(Reader, SendsThePrefixAndTheRequestAsTwoWritesBackToBack) {
    EXPECT_EQ(Get(dir / "a.pro", 0, 7), RetrievalResult::NoData);
    EXPECT_EQ(device.writes(), (Strings{"@@/r", "@Y0007@"}));
    EXPECT_EQ(device.writeTimes()[0], device.writeTimes()[1]);
    device.clearWrites();
    Get(dir / "a.pro", 0, 9999);
    EXPECT_EQ(device.writes(), (Strings{"@@/r", "@Y9999@"}));
    device.clearWrites();
    Get(dir / "a.pro", 1, 7);
    EXPECT_EQ(device.writes(), (Strings{"@@/r", "@YA@"}));
    device.clearWrites();
    reader.GetStatistics(dir / "a.sta");
    EXPECT_EQ(device.writes(), (Strings{"@@/r", "@yA@"}));
}

TEST_F(Reader, TheDialogIsOfferedTheLastConfirmedChoice) {
    EXPECT_EQ(reader.Mode(), 0);
    EXPECT_EQ(reader.Cnt(), 100);
    Get(dir / "a.pro", 1, 42);
    reader.GetProtocol(dir / "a.pro", false, Dialog(std::nullopt));
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0].mode, 0);
    EXPECT_EQ(offered[0].cnt, 100);
    EXPECT_EQ(offered[1].mode, 1);
    EXPECT_EQ(offered[1].cnt, 42);
    EXPECT_EQ(reader.Cnt(), 42);  // a cancelled dialog changes nothing
}

TEST_F(Reader, StoresLinesByteForByteAndEndsAfterTheTimeOut) {
    const std::string answer =
        "Coming     1    12.03.08    06:15:02\r\n"
        "bare line feed\n"
        "\r\n"
        "\xb0\xdf\x19\tcodes\r\n";
    AnswerRequestWith(answer);
    EXPECT_EQ(Get(dir / "p.pro", 0, 3), RetrievalResult::Done);
    EXPECT_EQ(Read(dir / "p.pro"), answer);
    EXPECT_EQ(frontend.texts("status"),
              (Strings{"Get protocol", "Coming     1    12.03.08    06:15:02", "bare line feed", "",
                       "\xb0\xdf\x19\tcodes", "Ready"}));
    // The last byte came at the request; the answer ended 3 s of silence later.
    EXPECT_EQ(clock.now() - device.writeTimes().back(), Millis(3000));
    EXPECT_FALSE(fs::exists(dir / "p.rtf"));
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(Reader, TranslatesAfterARetrievalThatBroughtLines) {
    AnswerRequestWith("A\xb0\r\n");
    EXPECT_EQ(Get(dir / "p.pro", 1, 1, true), RetrievalResult::Done);
    EXPECT_NE(Read(dir / "p.rtf").find("A\xC1\\par\r\n}"), std::string::npos);
    EXPECT_EQ(frontend.status(), "Ready");
}

TEST_F(Reader, NoAnswerShowsNoDataAndMakesNoFileAndNoRtf) {
    EXPECT_EQ(Get(dir / "p.pro", 0, 5, true), RetrievalResult::NoData);
    EXPECT_EQ(frontend.calls(), (Strings{"status: Get protocol", "status: No data"}));
    EXPECT_FALSE(fs::exists(dir / "p.pro"));
    EXPECT_FALSE(fs::exists(dir / "p.rtf"));
    EXPECT_EQ(clock.now(), Millis(3000));
}

TEST_F(Reader, NoAnswerKeepsTheProtocolTheUserHadAndSaysSo) {
    Write(dir / "p.pro", "earlier protocol\r\n");
    EXPECT_EQ(Get(dir / "p.pro", 0, 5), RetrievalResult::NoData);
    EXPECT_EQ(Read(dir / "p.pro"), "earlier protocol\r\n");
    EXPECT_EQ(EntryCount(), 1u);
    EXPECT_EQ(frontend.status(), "No data");
    const Strings messages = frontend.texts("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("sent nothing"), std::string::npos);
    EXPECT_NE(messages[0].find("earlier file " + (dir / "p.pro").string() + " was kept"),
              std::string::npos);
}

TEST_F(Reader, APauseOfMoreThanTheTimeOutInsideALineEndsTheAnswerAndDropsThatLine) {
    device.respond([this](const std::string& written) {
        if (written == "@@/r") return std::string();
        device.feed("first\r\nsec");
        device.feedPause(Millis(3001));
        return std::string("ond\r\nthird\r\n");
    });
    EXPECT_EQ(Get(dir / "p.pro", 1, 1), RetrievalResult::Done);
    EXPECT_EQ(Read(dir / "p.pro"), "first\r\n");
    EXPECT_EQ(frontend.texts("status"), (Strings{"Get protocol", "first", "Ready"}));
}

TEST_F(Reader, APauseShorterThanTheTimeOutKeepsTheLine) {
    device.respond([this](const std::string& written) {
        if (written == "@@/r") return std::string();
        device.feed("sec");
        device.feedPause(Millis(2999));
        return std::string("ond\r\n");
    });
    EXPECT_EQ(Get(dir / "p.pro", 1, 1), RetrievalResult::Done);
    EXPECT_EQ(Read(dir / "p.pro"), "second\r\n");
}

TEST_F(Reader, AnAnswerBrokenOffWithNoCompleteLineIsNoData) {
    AnswerRequestWith("partial line");
    EXPECT_EQ(Get(dir / "p.pro", 1, 1), RetrievalResult::NoData);
    EXPECT_FALSE(fs::exists(dir / "p.pro"));
    EXPECT_EQ(frontend.status(), "No data");
}

TEST_F(Reader, CancellingTheProtocolDialogLeavesTheFileAsItWasAndSendsNothing) {
    Write(dir / "p.pro", "earlier protocol\r\n");
    auto result = reader.GetProtocol(dir / "p.pro", true, Dialog(std::nullopt));
    EXPECT_EQ(result, RetrievalResult::Cancelled);
    EXPECT_TRUE(protocol::Succeeded(result));
    EXPECT_EQ(Read(dir / "p.pro"), "earlier protocol\r\n");
    EXPECT_TRUE(device.writes().empty());
    EXPECT_TRUE(frontend.calls().empty());
    EXPECT_EQ(EntryCount(), 1u);
    // Nor is a file created when there was none.
    reader.GetProtocol(dir / "new.pro", false, Dialog(std::nullopt));
    EXPECT_FALSE(fs::exists(dir / "new.pro"));
}

TEST_F(Reader, AFileThatCantBeWrittenMeansNoDialogNoStatusNothingSent) {
    AnswerRequestWith("line\r\n");
    fs::create_directory(dir / "folder.pro");
    for (const fs::path& path : {dir / "no-such-folder" / "p.pro", dir / "folder.pro"}) {
        EXPECT_EQ(Get(path, 0, 1), RetrievalResult::FileNotWritable);
        EXPECT_EQ(reader.GetStatistics(path), RetrievalResult::FileNotWritable);
    }
    EXPECT_TRUE(offered.empty());
    EXPECT_TRUE(device.writes().empty());
    EXPECT_TRUE(frontend.calls().empty());
}

TEST_F(Reader, ARetrievalReplacesTheOldFileWhole) {
    Write(dir / "p.pro", std::string(5000, 'o'));
    AnswerRequestWith("new\n");
    EXPECT_EQ(Get(dir / "p.pro", 0, 1), RetrievalResult::Done);
    EXPECT_EQ(Read(dir / "p.pro"), "new\n");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(Reader, StatisticsAreStoredAndEndWithReadyEvenWithoutALine) {
    const std::string answer = "STATISTIK\r\n  17    1   01:09:15\n";
    AnswerRequestWith(answer);
    EXPECT_EQ(reader.GetStatistics(dir / "s.sta"), RetrievalResult::Done);
    EXPECT_EQ(Read(dir / "s.sta"), answer);
    EXPECT_EQ(frontend.texts("status"),
              (Strings{"Get Statistics", "STATISTIK", "  17    1   01:09:15", "Ready"}));

    // Nothing came: "Ready" as always, but a message says so, and says only what is true
    // of the file.
    frontend.clear();
    device.respond(nullptr);
    EXPECT_EQ(reader.GetStatistics(dir / "empty.sta"), RetrievalResult::NoData);
    EXPECT_FALSE(fs::exists(dir / "empty.sta"));
    EXPECT_EQ(frontend.texts("status"), (Strings{"Get Statistics", "Ready"}));
    Strings messages = frontend.texts("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("sent nothing"), std::string::npos);
    EXPECT_EQ(messages[0].find("earlier"), std::string::npos);

    frontend.clear();
    EXPECT_EQ(reader.GetStatistics(dir / "s.sta"), RetrievalResult::NoData);
    EXPECT_EQ(Read(dir / "s.sta"), answer);
    messages = frontend.texts("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("earlier file " + (dir / "s.sta").string() + " was kept"),
              std::string::npos);
}

// A port that goes away in the middle of the answer (the converter unplugged): the lines
// that came are not taken for the whole answer.
TEST_F(Reader, APortThatGoesAwayMidAnswerFailsAndKeepsTheOldFile) {
    Write(dir / "p.pro", "earlier protocol\r\n");
    device.respond([this](const std::string& written) {
        if (written != "@@/r") device.hangUp();
        return written == "@@/r" ? std::string() : std::string("Coming     1\r\nhalf a li");
    });
    EXPECT_EQ(Get(dir / "p.pro", 1, 1, true), RetrievalResult::DeviceGone);
    EXPECT_EQ(Read(dir / "p.pro"), "earlier protocol\r\n");
    EXPECT_FALSE(fs::exists(dir / "p.rtf"));
    EXPECT_EQ(EntryCount(), 1u);
    EXPECT_NE(frontend.status(), "Ready");
    Strings messages = frontend.texts("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("port went away"), std::string::npos);
    EXPECT_NE(messages[0].find("unplugged?"), std::string::npos);
    EXPECT_NE(messages[0].find("was kept"), std::string::npos);

    frontend.clear();
    EXPECT_EQ(reader.GetStatistics(dir / "s.sta"), RetrievalResult::DeviceGone);
    EXPECT_FALSE(fs::exists(dir / "s.sta"));
    EXPECT_NE(frontend.status(), "Ready");
    messages = frontend.texts("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("No file " + (dir / "s.sta").string()), std::string::npos);
}

TEST_F(Reader, APortThatNeverOpenedEndsAsASilentDisplay) {
    reader.Link().Close();
    device.hangUp();
    EXPECT_EQ(Get(dir / "p.pro", 1, 1), RetrievalResult::NoData);
    EXPECT_EQ(frontend.status(), "No data");
}

// A display that never stops sending: the retrieval ends by its bounds, as a failure, and
// the old file stays.
TEST_F(Reader, ADisplayThatNeverStopsSendingIsCutOffAndTheOldFileStays) {
    Write(dir / "p.pro", "earlier protocol\r\n");
    device.respond([this](const std::string& written) {
        if (written == "@@/r") return std::string();
        // Many short pieces, so the scripted device hands them out in linear time.
        for (std::size_t i = 0; i <= protocol::kMaxAnswerLines; ++i) {
            device.feed("Going\n");
            device.feedPause(Millis(1));
        }
        return std::string();
    });
    EXPECT_EQ(Get(dir / "p.pro", 1, 1), RetrievalResult::Endless);
    EXPECT_EQ(Read(dir / "p.pro"), "earlier protocol\r\n");
    EXPECT_EQ(EntryCount(), 1u);
    Strings messages = frontend.texts("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("did not stop sending"), std::string::npos);
    EXPECT_TRUE(device.pending());  // it was not read to its end

    // One line that never ends is cut off the same way.
    frontend.clear();
    device.respond([this](const std::string& written) {
        if (written == "@@/r") return std::string();
        for (std::size_t sent = 0; sent <= serial::CSerialLink::kMaxLineLength; sent += 1024) {
            device.feed(std::string(1024, 'x'));
            device.feedPause(Millis(1));
        }
        return std::string();
    });
    EXPECT_EQ(reader.GetStatistics(dir / "s.sta"), RetrievalResult::Endless);
    EXPECT_FALSE(fs::exists(dir / "s.sta"));
    EXPECT_EQ(frontend.texts("message").size(), 1u);
}

TEST_F(Reader, ADisplayThatDripsItsAnswerEndsAsASilentOneDoes) {
    // One byte just inside each read time-out, lines and all: the retrieval ends once it has
    // taken the time its byte bound takes at the line's speed, and keeps the lines so far.
    reader.Link().UseClock(clock);
    const Millis bound = protocol::RetrievalTimeBound(reader.Link().Settings());
    EXPECT_EQ(bound, Millis(6000 + 2 * 9611947));  // about 5 h 20 min at 9600 baud
    device.respond([this](const std::string& written) {
        if (written == "@@/r") return std::string();
        for (int line = 0; line < 2500; ++line) {
            for (const char c : std::string("ab\n")) {
                device.feedPause(Millis(2999));
                device.feed(std::string(1, c));
            }
        }
        return std::string();
    });
    const Millis start = clock.now();
    EXPECT_EQ(Get(dir / "p.pro", 1, 1), RetrievalResult::Done);
    EXPECT_LE(clock.now() - start, bound + Millis(3 * 2999));
    EXPECT_GT(clock.now() - start, bound - Millis(3 * 2999));
    EXPECT_TRUE(device.pending());  // it was not read to its end
    EXPECT_EQ(Read(dir / "p.pro").substr(0, 6), "ab\nab\n");
}

TEST_F(Reader, ClearingAsksFirstAndSendsTheBareCommand) {
    frontend.answer(false);
    EXPECT_EQ(reader.ClearProtocol(), protocol::ClearResult::Declined);
    EXPECT_TRUE(device.writes().empty());
    EXPECT_EQ(frontend.calls(), (Strings{"status: Clear protocol", "ask: Are you sure?"}));
    EXPECT_EQ(frontend.status(), "Clear protocol");

    frontend.clear();
    frontend.answer(false);
    EXPECT_EQ(reader.ClearStatistics(), protocol::ClearResult::Declined);
    EXPECT_EQ(frontend.status(), "Clear Statistics");
    EXPECT_TRUE(device.writes().empty());

    frontend.clear();
    frontend.answer(true);
    frontend.answer(true);
    EXPECT_EQ(reader.ClearProtocol(), protocol::ClearResult::Sent);
    EXPECT_EQ(reader.ClearStatistics(), protocol::ClearResult::Sent);
    EXPECT_EQ(device.writes(), (Strings{"@YI@", "@yI@"}));
    EXPECT_EQ(frontend.texts("status"),
              (Strings{"Clear protocol", "Ready", "Clear Statistics", "Ready"}));
    EXPECT_EQ(clock.now(), Millis(0));  // nothing is read after a clear
}

TEST_F(Reader, AClearThatCantBeSentIsNotReportedAsReady) {
    device.failWrites(true);
    frontend.answer(true);
    EXPECT_EQ(reader.ClearProtocol(), protocol::ClearResult::SendFailed);
    EXPECT_EQ(frontend.status(), "Clear protocol");
    EXPECT_EQ(frontend.texts("message").size(), 1u);
}

TEST(StatusLine, AnEmptyTextDrawsThePreviousOneAndLongTextsAreClipped) {
    common::RecordingFrontend frontend;
    protocol::StatusLine status(frontend);
    status.Set("");
    status.Set("Get protocol");
    status.Set("");
    EXPECT_EQ(frontend.texts("status"), (Strings{"", "Get protocol", "Get protocol"}));
    status.Set(std::string(300, 'x'));
    EXPECT_EQ(frontend.status(), std::string(259, 'x'));
}

TEST_F(Reader, AStopRequestDuringTheAnswerKeepsTheOldFileAndSaysSo) {
    Write(dir / "p.pro", "earlier protocol\r\n");
    device.respond([](const std::string& written) {
        if (written == "@@/r") return std::string();
        serial::RequestStop(serial::kInterruptSignal);  // Ctrl-C while the display answers
        return std::string("Coming     1\r\nGoing      1\r\n");
    });
    EXPECT_EQ(Get(dir / "p.pro", 1, 1, true), RetrievalResult::DeviceGone);
    serial::ClearStopRequest();
    EXPECT_EQ(Read(dir / "p.pro"), "earlier protocol\r\n");
    Strings messages = frontend.texts("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("was stopped"), std::string::npos) << messages[0];
    EXPECT_EQ(messages[0].find("unplugged?"), std::string::npos);
}
