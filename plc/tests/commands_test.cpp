#include <gtest/gtest.h>

#include <map>

#include "plc/frame.h"
#include "plc/plc_programmer.h"
#include "plc_fixture.h"

using common::Millis;
using plc::testing::AnswerTelegram;
using plc::testing::Bytes;

namespace {
struct Commands : plc::testing::PlcFixture {
    void AckEverything() {
        device.respond([](const std::string&) { return std::string("\xE5"); });
    }
};
}  // namespace

TEST_F(Commands, ResetShowsItsStatusAndSettles) {
    programmer.state().stationAddress = 3;
    AckEverything();
    EXPECT_TRUE(programmer.Reset());
    ASSERT_EQ(device.writes().size(), 1u);
    EXPECT_EQ(device.writes()[0],
              Bytes({0x68, 0x06, 0x06, 0x68, 0x03, 0xFF, 0x04, 0x24, 0x00, 0x00, 0x2A, 0x16}));
    EXPECT_EQ(frontend.calls(), (std::vector<std::string>{"busy: on", "status: Reset",
                                                          "status: Reseted", "busy: off"}));
    // No pause before the acknowledgement, 5 s after it.
    EXPECT_EQ(clock.sleeps().back(), Millis(5000));
    EXPECT_EQ(clock.sleeps().size(), 2u);  // the programmer's start-up pause and the settle
}

TEST_F(Commands, ResetWithoutAnswerThrowsAndSkipsTheSettle) {
    Millis before = clock.now();
    try {
        programmer.Reset();
        FAIL();
    } catch (const plc::CQuarnException& e) {
        EXPECT_EQ(e.message(), "Comunication error: Timeout");
    }
    EXPECT_EQ(clock.now() - before, Millis(2000));
    EXPECT_EQ(frontend.status(), "Reset");
    EXPECT_FALSE(frontend.busy());
}

TEST_F(Commands, InitEepromSendsItsStepsInOrderWithTheFlagsWord) {
    programmer.state().flagsWord = 0x1234;
    AckEverything();
    EXPECT_TRUE(programmer.InitEeprom());
    std::vector<int> codes;
    for (const auto& w : device.writes()) codes.push_back(CommandOf(w));
    EXPECT_EQ(codes, (std::vector<int>{0x27, 0x4A, 0x20, 0x27, 0x4B, 0x20}));
    EXPECT_EQ(device.writes()[0].substr(8, 2), Bytes({0x34, 0x12}));
    EXPECT_EQ(device.writes()[1].substr(8, 2), Bytes({0x00, 0x00}));
    // The 55 s wait comes between the second step and the final start.
    EXPECT_EQ(device.writeTimes()[5] - device.writeTimes()[4], Millis(100 + 55000));
    EXPECT_EQ(frontend.texts("status"),
              (std::vector<std::string>{"Init EEPROM, please wait 60sec", "EEPROM initialized"}));
}

TEST_F(Commands, InitEepromStopsAtTheFirstWrongAcknowledgement) {
    int n = 0;
    device.respond([&](const std::string&) { return std::string(++n == 3 ? "\x55" : "\xE5"); });
    EXPECT_THROW(programmer.InitEeprom(), plc::CQuarnException);
    EXPECT_EQ(device.writes().size(), 3u);
    EXPECT_EQ(frontend.status(), "Init EEPROM, please wait 60sec");
}

TEST_F(Commands, DeleteAndReserveModule) {
    AckEverything();
    programmer.DeleteModule(7);
    EXPECT_EQ(device.writes().back(), plc::MakeFrame(0x40, 0x42, Bytes({7, 0, 0})));

    device.respond([](const std::string&) {
        return AnswerTelegram(0x07, Bytes({9, 1, 2, 3, 4, 5, 6, 7, 8, 0xEE}));
    });
    plc::ReservationRecord record{};
    record[0] = 0;  // the PLC assigns the number
    record[9] = 0x34;
    record[10] = 0x12;
    EXPECT_EQ(programmer.ReserveModule(record), 0);
    EXPECT_EQ(device.writes().back(), plc::MakeFrame(0x40, 0x07, Bytes({0, 0x34, 0x12})));
    EXPECT_EQ(record, (plc::ReservationRecord{9, 1, 2, 3, 4, 5, 6, 7, 8, 0x34, 0x12}));

    device.respond(nullptr);
    EXPECT_EQ(programmer.ReserveModule(record), 1);
}

TEST_F(Commands, IdentifyRequestIs46BytesAndStoresTheFirmware) {
    device.respond([](const std::string&) {
        return AnswerTelegram(0x2E, Bytes({0xA0, 0xA1, 2, 104, 1, 0, 2, 0}));
    });
    plc::IdentifyAnswer answer;
    EXPECT_EQ(programmer.Identify(answer), 0);
    const std::string& request = device.writes().back();
    ASSERT_EQ(request.size(), 46u);
    EXPECT_EQ(request.substr(0, 8), Bytes({0x68, 0x28, 0x28, 0x68, 0x40, 0xFF, 0x04, 0x2E}));
    EXPECT_EQ(request.substr(8, 8), std::string(8, '\0'));
    EXPECT_EQ(request.substr(16, 16), Bytes({0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88,
                                             0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}));
    EXPECT_EQ(request.substr(32, 12), std::string(12, '\0'));
    EXPECT_EQ(request.back(), '\x16');
    EXPECT_EQ(answer.firmwareMajor, 2);
    EXPECT_EQ(answer.word1, 1);
    EXPECT_EQ(programmer.state().firmwareMinor, 104);
}

TEST_F(Commands, FirmwareComparisonTakesTheMajorFirst) {
    programmer.state().firmwareMajor = 1;
    programmer.state().firmwareMinor = 104;
    EXPECT_TRUE(programmer.FirmwareAtLeast(1, 104));
    EXPECT_TRUE(programmer.FirmwareAtLeast(1, 4));
    EXPECT_TRUE(programmer.FirmwareAtLeast(0, 200));
    EXPECT_FALSE(programmer.FirmwareAtLeast(2, 0));
    EXPECT_FALSE(programmer.FirmwareAtLeast(1, 105));
}

TEST_F(Commands, InformationBlockKeepsItsDefaultsWithoutAnswer) {
    const plc::InfoBlock defaults;
    EXPECT_EQ(defaults.directoryAddress(), 0x1000);
    EXPECT_EQ(defaults.configurationSegment(), 0x6000);
    EXPECT_EQ(defaults.pageSize(), 0x0200);
    EXPECT_EQ(defaults.indmwSegment(), 0x0400);
    EXPECT_EQ(defaults.indxwSegment(), 0x3000);
    EXPECT_EQ(defaults.readGeneration(), 1);
    EXPECT_EQ(defaults.bytes()[87], 0x28);
    EXPECT_EQ(defaults.bytes()[89], 0x02);
    EXPECT_EQ(defaults.bytes()[245], 0x00);

    programmer.ReadInfoBlock();
    EXPECT_EQ(programmer.state().infoBlock.bytes(), defaults.bytes());
    EXPECT_EQ(device.writes().back(), Bytes({0x68, 4, 4, 0x68, 0x40, 0xFF, 4, 0x2F, 0x72, 0x16}));

    device.respond([](const std::string&) {
        return AnswerTelegram(0x2F, Bytes({0, 2, 3, 0, 0, 0x20}));
    });
    programmer.ReadInfoBlock();
    EXPECT_EQ(programmer.state().infoBlock.variant(), 2);
    EXPECT_EQ(programmer.state().infoBlock.directoryAddress(), 0x2000);
    EXPECT_EQ(programmer.state().infoBlock.pageSize(), 0x0200);  // beyond the answer: kept
}

namespace {
std::string HeaderAnswer(std::uint8_t number, const std::string& name) {
    std::string data = Bytes({0x11, 0x22, 0x33, 0x44, 0x99});
    std::string header(32, '\0');
    header.replace(0, name.size(), name);
    header[27] = static_cast<char>(number);  // kind, to tell the answers apart
    return AnswerTelegram(0x0A, data + header);
}
}  // namespace

TEST_F(Commands, ModuleHeadersAskAgainForTheModuleWhoseAnswerWasLost) {
    auto& modules = programmer.state().modules;
    modules.resize(7);
    for (size_t i = 0; i < modules.size(); ++i)
        modules[i].bytes[32] = static_cast<std::uint8_t>(5 + i);
    // Every first request for a module goes unanswered (7 lost answers over the table), and
    // module 8 only answers its fifth repeat.
    std::map<int, int> asks;
    device.respond([&](const std::string& frame) -> std::string {
        int number = static_cast<unsigned char>(frame[8]);
        int n = ++asks[number];
        if (n == 1 || (number == 8 && n <= 5)) return {};
        return HeaderAnswer(static_cast<std::uint8_t>(number), "M" + std::to_string(number));
    });
    programmer.ReadModuleHeaders(7);
    std::vector<int> asked;
    for (const auto& w : device.writes()) asked.push_back(static_cast<unsigned char>(w[8]));
    EXPECT_EQ(asked, (std::vector<int>{5, 5, 6, 6, 7, 7, 8, 8, 8, 8, 8, 8, 9, 9, 10, 10, 11, 11}));
    EXPECT_EQ(device.writes()[0], plc::MakeFrame(0x40, 0x0A, Bytes({5, 0x20, 0, 0})));
    for (size_t i = 0; i < modules.size(); ++i) {
        EXPECT_EQ(modules[i].name(), "M" + std::to_string(5 + i));
        EXPECT_EQ(modules[i].number(), 5 + i);  // the number from the page map stays
    }
    EXPECT_EQ(modules[0].bytes[33], 0x11);
    EXPECT_EQ(modules[0].bytes[36], 0x44);
}

TEST_F(Commands, ModuleHeadersGiveUpAfterFiveUnansweredRepeatsInARow) {
    auto& modules = programmer.state().modules;
    modules.resize(2);
    modules[0].bytes[32] = 5;
    modules[1].bytes[32] = 6;
    // Module 5 answers; module 6 never does.
    device.respond([&](const std::string& frame) -> std::string {
        if (frame[8] == 6) return {};
        return HeaderAnswer(5, "M5");
    });
    try {
        programmer.ReadModuleHeaders(2);
        FAIL();
    } catch (const plc::CQuarnException& e) {
        EXPECT_EQ(e.message(), "Comunication error:");
    }
    EXPECT_EQ(device.writes().size(), 1u + 1u + plc::CPlcProgrammer::kHeaderRetries);
    EXPECT_EQ(modules[0].name(), "M5");
}
