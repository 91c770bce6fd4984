#include "cli/console_frontend.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/terminal.h"
#include "link/pseudo_terminal.h"

TEST(EscapeControlBytes, OnlyControlBytesAreEscaped) {
    EXPECT_EQ(cli::EscapeControlBytes(std::string("A\x1B[2J\0B\r\x7F", 9)),
              "A\\x1B[2J\\x00B\\x0D\\x7F");
    EXPECT_EQ(cli::EscapeControlBytes("line\n\tk\xE4se"), "line\n\tk\xE4se");
}

TEST(ConsoleFrontend, DeviceTextsAreEscapedOnATerminalAndKeptInAFile) {
    const std::string hostile = "M\x1B]0;owned\x07";
    std::FILE* file = std::tmpfile();
    ASSERT_TRUE(file);
    {
        cli::ConsoleFrontend frontend(false, file, file);
        frontend.setStatus(hostile);
        frontend.reportError(hostile, false);
    }
    std::rewind(file);
    char got[64] = {};
    const size_t n = std::fread(got, 1, sizeof got, file);
    EXPECT_EQ(std::string(got, n), hostile + "\n" + hostile + "\n");
    std::fclose(file);

    const std::string link = testing::TempDir() + "console-pty-" + std::to_string(::getpid());
    std::string error;
    auto pty = serial::PseudoTerminal::Create(link, error);
    ASSERT_TRUE(pty) << error;
    std::FILE* terminal = std::fopen(pty->slavePath().c_str(), "w");
    ASSERT_TRUE(terminal);
    ASSERT_TRUE(cli::IsTerminal(terminal));
    {
        cli::ConsoleFrontend frontend(false, terminal, terminal);
        frontend.setStatus(hostile);
    }
    std::fclose(terminal);
    std::string shown;
    while (auto byte = pty->readByte(common::Millis(200))) shown += static_cast<char>(*byte);
    EXPECT_EQ(shown, "M\\x1B]0;owned\\x07\n");
}

TEST(RewriteLine, ErasesOrPadsWithSpacesWhereTheTerminalCannotErase) {
    EXPECT_EQ(cli::RewriteLine("Text page: 0001", 15, true), "\rText page: 0001\x1B[K");
    EXPECT_EQ(cli::RewriteLine("ab", 5, false), "\rab   ");
    EXPECT_EQ(cli::RewriteLine("abcdef", 5, false), "\rabcdef");
}

namespace {
common::Progress Page(int page) {
    return {"Text page", page, 0, "Text page: 000" + std::to_string(page)};
}
}  // namespace

TEST(ConsoleFrontend, ProgressRewritesItsLineOnATerminalAndIsEndedBeforeOtherOutput) {
    std::FILE* file = std::tmpfile();
    ASSERT_TRUE(file);
    {
        cli::ConsoleFrontend frontend(false, file, file);
        frontend.progress(Page(1));
        frontend.progress(Page(2));
        frontend.printLine("Time / Date: not set");
    }
    std::rewind(file);
    char got[128] = {};
    size_t n = std::fread(got, 1, sizeof got, file);
    EXPECT_EQ(std::string(got, n), "Text page: 0001\nText page: 0002\nTime / Date: not set\n");
    std::fclose(file);

    ::setenv("TERM", "xterm", 1);
    const std::string link = testing::TempDir() + "progress-pty-" + std::to_string(::getpid());
    std::string error;
    auto pty = serial::PseudoTerminal::Create(link, error);
    ASSERT_TRUE(pty) << error;
    std::FILE* terminal = std::fopen(pty->slavePath().c_str(), "w");
    ASSERT_TRUE(terminal);
    {
        cli::ConsoleFrontend frontend(false, terminal, terminal);
        frontend.progress(Page(1));
        frontend.progress(Page(2));
        frontend.printLine("Time / Date: not set");
        // Another thing moving starts a line of its own; the end of the tool ends the line.
        frontend.progress({"PUMP.ob", 128, 512, "   PUMP.ob       128 of      512"});
        frontend.progress({"MOTOR.ob", 10, 20, "  MOTOR.ob        10 of       20"});
    }
    std::fclose(terminal);
    std::string shown;
    while (auto byte = pty->readByte(common::Millis(200))) shown += static_cast<char>(*byte);
    EXPECT_EQ(shown,
              "\rText page: 0001\x1B[K\rText page: 0002\x1B[K\nTime / Date: not set\n"
              "\r   PUMP.ob       128 of      512\x1B[K\n"
              "\r  MOTOR.ob        10 of       20\x1B[K\n");
}
