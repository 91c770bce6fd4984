#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <clocale>
#include <filesystem>
#include <fstream>

#include "common/file_helpers.h"
#include "common/recording_frontend.h"
#include "plc/files/configuration_file.h"
#include "plc/files/local_time.h"
#include "plc/files/module_file.h"
#include "plc/files/project_file.h"
#include "plc/files/transfer_log.h"

namespace fs = std::filesystem;

namespace {

struct ProjectFiles : ::testing::Test {
    fs::path folder;
    common::RecordingFrontend frontend;

    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("plc-files-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(folder / "LOCKED.ob", fs::perms::owner_all, ec);
        fs::remove_all(folder, ec);
    }
    fs::path Write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return folder / name;
    }
    // A module file: header with kind, code length and the given firmware, then the code.
    static std::string ModuleBytes(std::uint8_t kind, const std::string& code, int extra = 0) {
        std::string header(32, '\0');
        header.replace(0, 8, "OLDNAME!");
        header[27] = static_cast<char>(kind);
        header[30] = static_cast<char>(code.size() & 0xFF);
        header[31] = static_cast<char>(code.size() >> 8);
        return header + code + std::string(static_cast<size_t>(extra), 'z');
    }
};

TEST_F(ProjectFiles, ProjectLinesAreReadByTheirColumns) {
    auto pump = plc::ParseProjectLine("  7|4  | A |    |   |PUMP.OB      ");
    ASSERT_TRUE(pump);
    EXPECT_EQ(pump->number, 7);
    EXPECT_EQ(pump->reserved, 4);
    EXPECT_EQ(pump->kindLetter, 'A');
    EXPECT_EQ(pump->fileName, "PUMP.ob");

    auto block = plc::ParseProjectLine("  0|10 | A |    |   |Plant.KB.old");
    ASSERT_TRUE(block);
    EXPECT_EQ(block->number, 0);
    EXPECT_EQ(block->fileName, "Plant.kb");

    EXPECT_FALSE(plc::ParseProjectLine("   |4  | A |    |   |PUMP.OB"));  // no number
    EXPECT_FALSE(plc::ParseProjectLine("  x|4  | A |    |   |PUMP.OB"));  // not a digit
    EXPECT_FALSE(plc::ParseProjectLine("  7|4  | A |    |   |PUMPOB"));   // no dot
    EXPECT_FALSE(plc::ParseProjectLine("  7|4  | A |    |   |.OB"));      // dot first
    EXPECT_FALSE(plc::ParseProjectLine("12345"));
    // A letter other than A is kept; download makes the code 0x80 from it.
    EXPECT_EQ(plc::ParseProjectLine(" 12|30 | R |    |   |CTRL.ob")->kindLetter, 'R');
}

TEST_F(ProjectFiles, ProjectFileRoundTripsThroughTheUploadFormat) {
    EXPECT_EQ(plc::FormatProjectLine(0, 10, "ABC.kb"), "  0|10 | A |    |   |ABC.kb       \r\n");
    EXPECT_EQ(plc::FormatProjectLine(12, 4, "DB12.ob"), " 12|4  | A |    |   |DB12.ob      \r\n");
    Write("pump.OB", std::string(40, 'p'));
    Write("P.pr", plc::FormatProjectLine(0, 10, "P.kb") + "a comment line\n" +
                      plc::FormatProjectLine(7, 4, "PUMP.ob"));
    auto records = plc::ReadProjectFile(folder / "P.pr");
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 2u);
    EXPECT_EQ((*records)[1].fileName, "PUMP.ob");
    EXPECT_EQ((*records)[1].size, 40);  // found ignoring case
    EXPECT_EQ((*records)[0].size, 0);   // not there
    EXPECT_FALSE(plc::ReadProjectFile(folder / "missing.pr"));
}

TEST_F(ProjectFiles, ConfigurationFileIsPaddedCutOrRefused) {
    plc::ConfigurationBlock block;
    block.fill(0xAA);
    EXPECT_EQ(
        plc::ReadConfigurationFile(Write("short.kb", std::string(208, '\x01')), block, frontend),
        0);
    EXPECT_EQ(block[207], 1);
    EXPECT_EQ(block[208], 0);
    EXPECT_EQ(block[511], 0);
    Write("LONG.KB", std::string(600, '\x02'));
    EXPECT_EQ(plc::ReadConfigurationFile(folder / "long.kb", block, frontend), 0);
    EXPECT_EQ(block[511], 2);

    EXPECT_EQ(plc::ReadConfigurationFile(folder / "none.kb", block, frontend), 1);
    const fs::path empty = Write("empty.kb", "");
    EXPECT_EQ(plc::ReadConfigurationFile(empty, block, frontend), 1);
    EXPECT_EQ(
        frontend.texts("message"),
        (std::vector<std::string>{"Can't open kb file", "can't open file:" + empty.string()}));
    EXPECT_EQ(block[511], 2);  // a refused file leaves the block alone
}

TEST_F(ProjectFiles, ModuleFileGetsItsNameDateAndSum) {
    const std::string code = "\x01\x02\x03\xFF";
    const fs::path file = Write("Pump.OB", ModuleBytes(4, code, 5));
    // Last read two hours ago, written three hours ago: a file system that keeps access
    // times loosely leaves that, a strict one moves it to now; the date is what it says.
    const std::time_t now = std::time(nullptr);
    utimbuf times{now - 2 * 3600, now - 3 * 3600};
    ASSERT_EQ(utime(file.string().c_str(), &times), 0);
    plc::ModuleImage image;
    EXPECT_EQ(plc::ReadModuleFile(folder / "PUMP.ob", 0, image), 0);
    struct stat status {};
    ASSERT_EQ(stat(file.string().c_str(), &status), 0);
    const std::time_t accessed = status.st_atime;
    const std::tm read = *std::localtime(&accessed);
    EXPECT_EQ(plc::HeaderName(image.header.data()), "PUMP");
    EXPECT_EQ(image.header[5], 'M');  // only the name and its NUL are written
    EXPECT_EQ(image.header[9], read.tm_year % 100);
    EXPECT_EQ(image.header[10], read.tm_mon + 1);
    EXPECT_EQ(image.header[11], read.tm_mday);
    EXPECT_EQ(image.header[12], read.tm_hour);
    EXPECT_EQ(image.header[13], read.tm_min);
    // The code as long as the header says, then its sum 0x0105, low byte first.
    EXPECT_EQ(image.code, code + std::string("\x05\x01", 2));
}

TEST_F(ProjectFiles, ModuleFileResults) {
    plc::ModuleImage image;
    EXPECT_EQ(plc::ReadModuleFile(folder / "NONE.ob", 0, image), 1);
    Write("SHORT.ob", ModuleBytes(4, "abcd").substr(0, 35));
    EXPECT_EQ(plc::ReadModuleFile(folder / "SHORT.ob", 0, image), 14);
    Write("TINY.ob", "abc");
    EXPECT_EQ(plc::ReadModuleFile(folder / "TINY.ob", 0, image), 14);
    // The length is signed: 0x7FFF is the longest code; from 0x8000 on no file is too short
    // and none can be read.
    Write("LONG.ob", ModuleBytes(4, std::string(0x7FFF, 'h')));
    EXPECT_EQ(plc::ReadModuleFile(folder / "LONG.ob", 0, image), 0);
    EXPECT_EQ(image.code.size(), 0x7FFFu + 2);
    for (int length : {0x8000, 0xFFFF}) {
        std::string huge = ModuleBytes(4, "abcd");
        huge[30] = static_cast<char>(length & 0xFF);
        huge[31] = static_cast<char>(length >> 8);
        Write("HUGE.ob", huge);
        EXPECT_EQ(plc::ReadModuleFile(folder / "HUGE.ob", 0, image), 15) << length;
    }
    Write("KIND.ob", ModuleBytes(5, "abcd"));
    EXPECT_EQ(plc::ReadModuleFile(folder / "KIND.ob", 0, image), 11);
    Write("FN.ob", ModuleBytes(30, "abcd"));
    EXPECT_EQ(plc::ReadModuleFile(folder / "FN.ob", 0, image), 18);
    EXPECT_EQ(plc::ReadModuleFile(folder / "FN.ob", 2, image), 0);
    // A name that does not fit the 8-character field is refused before anything is written.
    Write("LONGNAME9.ob", ModuleBytes(4, "abcd"));
    image.header.fill(0x55);
    EXPECT_EQ(plc::ReadModuleFile(folder / "LONGNAME9.ob", 0, image),
              plc::module_file::kNameTooLong);
    EXPECT_EQ(image.header[9], 0x55);
}

TEST_F(ProjectFiles, ReadOnlyModuleFileGivesTheHeaderAWritableOneGetsAndStaysAsItIs) {
    const std::string bytes = ModuleBytes(4, "abcd");
    const fs::path file = Write("LOCKED.ob", bytes);
    // Access time after the modification time and recent: reading does not move it, so
    // both reads see the same date.
    const std::time_t now = std::time(nullptr);
    utimbuf times{now - 2 * 3600, now - 3 * 3600};
    ASSERT_EQ(utime(file.string().c_str(), &times), 0);
    plc::ModuleImage writable;
    ASSERT_EQ(plc::ReadModuleFile(file, 0, writable), 0);

    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    plc::ModuleImage readOnly;
    EXPECT_EQ(plc::ReadModuleFile(file, 0, readOnly), 0);
    EXPECT_EQ(readOnly.header, writable.header);
    EXPECT_EQ(readOnly.code, writable.code);
    EXPECT_EQ(plc::HeaderName(readOnly.header.data()), "LOCKED");
    EXPECT_EQ(common::ReadWholeFile(file), bytes);  // the file as it was
}

TEST_F(ProjectFiles, ModuleKindsPerVariant) {
    for (int kind : {0, 11}) {
        EXPECT_EQ(plc::CheckModuleKind(kind, 0), 0);
        EXPECT_EQ(plc::CheckModuleKind(kind, 2), 18);
    }
    for (int kind : {3, 4, 9, 128}) {
        EXPECT_EQ(plc::CheckModuleKind(kind, 0), 0);
        EXPECT_EQ(plc::CheckModuleKind(kind, 2), 0);
    }
    for (int kind : {16, 27, 28, 29, 30}) {
        EXPECT_EQ(plc::CheckModuleKind(kind, 1), 18);
        EXPECT_EQ(plc::CheckModuleKind(kind, 2), 0);
    }
    for (int kind : {1, 2, 5, 31, 127, 255}) EXPECT_EQ(plc::CheckModuleKind(kind, 2), 11);
}

TEST_F(ProjectFiles, LogIsEmptiedThenAppendedInTextMode) {
    const fs::path log = folder / "log.txt";
    plc::AppendLog(log, "");
    EXPECT_EQ(common::ReadWholeFile(log), "");
    plc::TransferLog transfer(log);
    transfer.Append("Start download at X\n");
    transfer.Append("\tPUMP.ob\t ok\n");
    EXPECT_EQ(common::ReadWholeFile(log), "Start download at X\r\n\tPUMP.ob\t ok\r\n");
    transfer.Clear();
    EXPECT_EQ(common::ReadWholeFile(log), "");
    // No path: no log, and nothing breaks.
    plc::TransferLog().Append("x\n");
}

TEST(LogTime, IsTheCLocalesFormWhateverLocaleTheProcessRunsIn) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_wday = 4;
    t.tm_hour = 9;
    t.tm_min = 26;
    t.tm_sec = 5;
    // The Qt program runs in the desktop's locale; a machine may have none but C installed,
    // and then only the form itself is checked.
    const std::string before = std::setlocale(LC_ALL, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8", "C.UTF-8"})
        if (std::setlocale(LC_ALL, name)) break;
    const std::string shown = plc::FormatLogTime(t);
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(shown, "Thu Mar  5 09:26:05 2026");
    t.tm_mday = 14;
    t.tm_wday = 6;
    t.tm_year = 99;
    EXPECT_EQ(plc::FormatLogTime(t), "Sat Mar 14 09:26:05 1999");
}

}  // namespace
