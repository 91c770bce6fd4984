// A client that held plcsim's port exclusively and was killed leaves the port free for the
// next program, also for an ordinary user (root passes a terminal's exclusive flag, so the
// programs run as nobody when the test runs as root).
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>

#include "testsupport/process.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kSetpriv = "/usr/bin/setpriv";
constexpr const char* kPython = "/usr/bin/python3";

// program and args, run as nobody when the test runs as root.
std::pair<std::string, std::vector<std::string>> AsOrdinaryUser(const std::string& program,
                                                                std::vector<std::string> args) {
    if (::geteuid() != 0) return {program, args};
    args.insert(args.begin(),
                {"--reuid=nobody", "--regid=nogroup", "--clear-groups", "--", program});
    return {kSetpriv, args};
}

// Opens the port, sets the exclusive flag as the tools do, says so with a file, and waits.
std::string HolderScript(const std::string& link, const std::string& marker) {
    return "import os, fcntl, termios, time\n"
           "fd = os.open('" +
           link +
           "', os.O_RDWR | os.O_NOCTTY)\n"
           "fcntl.ioctl(fd, termios.TIOCEXCL)\n"
           "open('" +
           marker +
           "', 'w').close()\n"
           "time.sleep(60)\n";
}

}  // namespace

TEST(ReleasedPort, AKilledHolderLeavesThePortFreeForTheNextUser) {
    for (int signal : {SIGTERM, SIGKILL}) {
        const std::string link = testsupport::FreshLinkPath("plc");
        const fs::path folder = fs::path(link).parent_path();
        ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
        auto [simProgram, simArgs] = AsOrdinaryUser(PLCSIM_PATH, {"--link", link});
        testsupport::BackgroundProcess plcsim(simProgram, simArgs, link);
        ASSERT_TRUE(plcsim.running());

        const std::string marker = (folder / "held").string();
        auto [holderProgram, holderArgs] =
            AsOrdinaryUser(kPython, {"-c", HolderScript(link, marker)});
        testsupport::BackgroundProcess holder(holderProgram, holderArgs, marker);
        ASSERT_TRUE(holder.running());
        auto [tool, toolArgs] = AsOrdinaryUser(QUARNCTL_PATH, {"--port", link, "identify"});
        auto whileHeld = testsupport::Run(tool, toolArgs);
        EXPECT_EQ(whileHeld.exitStatus, 1);
        EXPECT_NE(whileHeld.err.find("in use by another program"), std::string::npos)
            << whileHeld.err;

        holder.stop(signal);
        auto after = testsupport::Run(tool, toolArgs);
        EXPECT_EQ(after.exitStatus, 0) << "after signal " << signal << ": " << after.err;
        EXPECT_NE(after.out.find("Station address: 64"), std::string::npos) << after.out;
        plcsim.stop();
        fs::remove_all(folder);
    }
}
