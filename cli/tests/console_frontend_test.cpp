#include "cli/console_frontend.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

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
