#include "link/termios_settings.h"

#include <gtest/gtest.h>

namespace {
termios Noisy() {
    // A port left in cooked mode with flow control by some earlier program.
    termios t{};
    t.c_iflag = ICRNL | IXON | IXOFF | ISTRIP;
    t.c_oflag = OPOST | ONLCR;
    t.c_lflag = ICANON | ECHO | ISIG;
    t.c_cflag = CS7 | PARODD | CRTSCTS;
    return t;
}
}  // namespace

TEST(BuildTermios, PlcLineIs8E1RawWithoutFlowControl) {
    for (bool fast : {false, true}) {
        termios t =
            serial::BuildTermios(Noisy(), serial::SettingsFor(serial::Program::QuarnWin, fast));
        EXPECT_EQ(cfgetospeed(&t), fast ? B19200 : B9600);
        EXPECT_EQ(cfgetispeed(&t), fast ? B19200 : B9600);
        EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_TRUE(t.c_cflag & PARENB);
        EXPECT_FALSE(t.c_cflag & PARODD);
        EXPECT_FALSE(t.c_iflag & INPCK);  // a damaged byte arrives as received, not as 0x00
        EXPECT_FALSE(t.c_cflag & CSTOPB);
        EXPECT_FALSE(t.c_cflag & CRTSCTS);
        EXPECT_TRUE(t.c_cflag & CLOCAL);
        EXPECT_TRUE(t.c_cflag & CREAD);
        EXPECT_FALSE(t.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP));
        EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
        EXPECT_FALSE(t.c_oflag & OPOST);
        EXPECT_EQ(t.c_cc[VMIN], 0);
        EXPECT_EQ(t.c_cc[VTIME], 0);
    }
}

TEST(BuildTermios, DisplayLineIs8N2) {
    for (auto program : {serial::Program::Skellig, serial::Program::Vantor}) {
        termios t = serial::BuildTermios(Noisy(), serial::SettingsFor(program));
        EXPECT_EQ(cfgetospeed(&t), B9600);
        EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_FALSE(t.c_cflag & PARENB);
        EXPECT_TRUE(t.c_cflag & CSTOPB);
        EXPECT_FALSE(t.c_cflag & CRTSCTS);
        EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
    }
}
