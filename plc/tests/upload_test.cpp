#include "plc/transfer/upload.h"

#include <gtest/gtest.h>

#include "transfer_fixture.h"

using plc::UploadOutcome;

namespace {

struct Uploading : plc::testing::TransferFixture {
    plc::Upload upload{programmer, log, FixedTime};
    std::filesystem::path Target() const { return folder / "P" / ""; }

    void TwoModules() {
        plc.AddModule(9, "MOTOR", 30, 2, Pattern(1500, 3), 3);
        plc.AddModule(4, "VALVES", 4, 4, Pattern(10, 4), 12);
        std::string block(512, '\0');
        block.replace(32, 5, "PLANT");
        block[300] = 0x33;
        plc.SetConfiguration(block);
    }
    static std::string NoteLine() {
        std::string note = plc::upload::kNotPutInPlaceText;
        return note.insert(note.size() - 1, "\r");
    }
    std::vector<std::string> FolderFiles() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(folder / "P"))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(Uploading, WritesModulesConfigurationAndProject) {
    TwoModules();
    EXPECT_EQ(upload.Run(Target()), UploadOutcome::kComplete);

    const std::string motor = Read("MOTOR.ob");
    ASSERT_EQ(motor.size(), 32u + 1500);
    EXPECT_EQ(motor.substr(0, 5), "MOTOR");
    EXPECT_EQ(motor.substr(30, 2), plc::testing::Bytes({0xDC, 0x05}));  // length without the sum
    EXPECT_EQ(motor.substr(32), Pattern(1500, 3));
    EXPECT_EQ(static_cast<unsigned char>(motor[20]), 1u);
    EXPECT_EQ(Read("VALVES.ob").size(), 42u);
    EXPECT_EQ(Read("P.kb").size(), 512u);
    EXPECT_EQ(Read("P.kb")[300], 0x33);
    EXPECT_EQ(Read("P.pr"),
              "  0|10 | A |    |   |P.kb         \r\n"
              "  4|4  | A |    |   |VALVES.ob    \r\n"
              "  9|30 | A |    |   |MOTOR.ob     \r\n");
    // The block's file is logged from the folder's name on, with the system's separator.
    const std::string separator(1, static_cast<char>(std::filesystem::path::preferred_separator));
    EXPECT_EQ(Log(), std::string("Start upload at ") + kStamp + "\r\n\tVALVES.ob\tok\r\n" +
                         "\tMOTOR.ob\tok\r\n\tP" + separator + "P.kb\tok\r\n" +
                         "All Modules successfully uploaded at " + kStamp + "\r\n");
    EXPECT_EQ(frontend.status(), "All Modules successfully uploaded");
    const auto statuses = frontend.texts("status");
    EXPECT_NE(std::find(statuses.begin(), statuses.end(),
                        " 9       MOTOR      1502 of     1502 Bytes transfered"),
              statuses.end());
    EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"MOTOR.ob", "P.kb", "P.pr", "VALVES.ob"}));
    EXPECT_FALSE(frontend.busy());
}

TEST_F(Uploading, EmptyPlcGivesConfigurationAndProjectOnly) {
    plc.Directory()[0] = 0;
    EXPECT_EQ(upload.Run(folder / "P"), UploadOutcome::kComplete);
    EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"P.kb", "P.pr"}));
    EXPECT_EQ(Read("P.kb"), std::string(206, '\0') + std::string(306, '\0'));
    EXPECT_EQ(Read("P.pr"), "  0|10 | A |    |   |P.kb         \r\n");
}

TEST_F(Uploading, UnwritableConfigurationOrProjectFileIsAFileErrorAndPutsNothingInPlace) {
    TwoModules();
    Write("MOTOR.ob", "the good old motor");
    for (const char* name : {"P.kb", "P.pr"}) {
        std::filesystem::create_directories(folder / "P" / name / "in the way");
        frontend.clear();
        frontend.answer(true);
        log.Clear();
        EXPECT_EQ(upload.Run(Target()), UploadOutcome::kFileError) << name;
        EXPECT_EQ(frontend.texts("message"), (std::vector<std::string>{"Kann file nicht öffnen"}));
        EXPECT_EQ(frontend.status(), "Error");
        EXPECT_EQ(Read("MOTOR.ob"), "the good old motor");
        EXPECT_FALSE(std::filesystem::exists(folder / "P" / "VALVES.ob"));
        EXPECT_EQ(Log(), std::string("Start upload at ") + kStamp + "\r\n\tVALVES.ob\tok\r\n" +
                             "\tMOTOR.ob\tok\r\n" + NoteLine());
        std::filesystem::remove_all(folder / "P" / name);
    }
}

TEST_F(Uploading, WrongChecksumMarksTheFileDamaged) {
    TwoModules();
    plc.memory[0x60000 + 4 * 0x400 + 3] ^= 0x01;  // a code byte of VALVES
    EXPECT_EQ(upload.Run(Target()), UploadOutcome::kComplete);
    EXPECT_EQ(
        frontend.texts("message"),
        (std::vector<std::string>{"ERROR_BLOCK_CHECKSUM" + (Target() / "VALVES.ob").string()}));
    EXPECT_EQ(static_cast<unsigned char>(Read("VALVES.ob")[20]), 0x81u);
    EXPECT_EQ(static_cast<unsigned char>(Read("MOTOR.ob")[20]), 0x01u);
}

TEST_F(Uploading, OverwriteIsAskedOnceAndNoKeepsEverything) {
    TwoModules();
    Write("MOTOR.ob", "mine");
    Write("VALVES.ob", "also mine");
    EXPECT_EQ(upload.Run(Target()), UploadOutcome::kAborted);
    EXPECT_EQ(frontend.texts("ask"), (std::vector<std::string>{"Ovwewrite Files?"}));
    EXPECT_EQ(frontend.status(), "Upload aborted");
    EXPECT_EQ(Read("VALVES.ob"), "also mine");
    EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"MOTOR.ob", "VALVES.ob"}));
    EXPECT_EQ(Log(), std::string("Start upload at ") + kStamp + "\r\n");

    frontend.clear();
    frontend.answer(true);
    EXPECT_EQ(upload.Run(Target()), UploadOutcome::kComplete);
    EXPECT_EQ(frontend.texts("ask").size(), 1u);
    EXPECT_EQ(Read("MOTOR.ob").size(), 1532u);
}

TEST_F(Uploading, UnwritableModuleFileIsAFileError) {
    TwoModules();
    std::filesystem::create_directories(folder / "P" / "VALVES.ob" / "in the way");
    frontend.answer(true);
    EXPECT_EQ(upload.Run(Target()), UploadOutcome::kFileError);
    EXPECT_EQ(frontend.texts("message"), (std::vector<std::string>{"Kann file nicht öffnen"}));
    EXPECT_EQ(frontend.status(), "Error");
    EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"VALVES.ob"}));

    // A module name from the PLC never leads out of the folder, and an empty one does not
    // become the hidden file ".ob".
    plc.headers[4].replace(0, 7, "../x\0\0\0", 7);
    frontend.clear();
    EXPECT_EQ(upload.Run(Target()), UploadOutcome::kFileError);
    EXPECT_FALSE(std::filesystem::exists(folder / "x.ob"));
    plc.headers[4].replace(0, 9, std::string(9, '\0'));
    frontend.clear();
    EXPECT_EQ(upload.Run(Target()), UploadOutcome::kFileError);
    EXPECT_EQ(frontend.texts("message"), (std::vector<std::string>{"Kann file nicht öffnen"}));
    EXPECT_EQ(frontend.status(), "Error");
    EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"VALVES.ob"}));
}

TEST_F(Uploading, AnUploadEndedOnTheWayLeavesTheOldProjectAsItWas) {
    TwoModules();
    Write("MOTOR.ob", "the good old motor");
    Write("P.kb", "old block");
    Write("P.pr", "old project");
    const auto oldProjectIsThere = [&] {
        EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"MOTOR.ob", "P.kb", "P.pr"}));
        EXPECT_EQ(Read("MOTOR.ob"), "the good old motor");
        EXPECT_EQ(Read("P.kb"), "old block");
        EXPECT_EQ(Read("P.pr"), "old project");
    };
    // VALVES comes first and is read whole; then the technician won't overwrite MOTOR.
    EXPECT_EQ(upload.Run(Target()), UploadOutcome::kAborted);
    oldProjectIsThere();

    // Info block (no second identification), 2 directory reads, 2 headers, 3 configuration
    // reads, VALVES (1), then MOTOR's third chunk goes unanswered.
    frontend.answer(true);
    plc.silentAfter = 11;
    try {
        upload.Run(Target());
        FAIL();
    } catch (const plc::CQuarnException& e) {
        EXPECT_EQ(e.message(), "Comunication error:");
    }
    oldProjectIsThere();
    // VALVES was logged "ok" before the failure; the log does not leave it at that.
    const std::string logged = Log();
    EXPECT_EQ(logged.substr(logged.size() - NoteLine().size()), NoteLine());
    EXPECT_FALSE(frontend.busy());
}

TEST(UploadFolderName, IsTheLastComponent) {
    EXPECT_EQ(plc::FolderName("/p/ABC/"), "ABC");
    EXPECT_EQ(plc::FolderName("/p/ABC"), "ABC");
    EXPECT_EQ(plc::FolderName("rel/dir/"), "dir");
    // Upload into "." must not write "..kb" and "..pr".
    EXPECT_EQ(plc::FolderName("."), std::filesystem::current_path().filename().string());
    EXPECT_EQ(plc::FolderName("./"), std::filesystem::current_path().filename().string());
    EXPECT_EQ(plc::FolderName("/p/ABC/sub/.."), "ABC");
    EXPECT_EQ(plc::FolderName("/p/ABC/./"), "ABC");
}

}  // namespace
