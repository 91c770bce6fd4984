// quarnctl as an ordinary user (nobody, when the tests run as root) against plcsim, on a
// project that user may only read, as the installed samples are.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "testsupport/process.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

struct ReadOnlyProject : ::testing::Test {
    fs::path work;
    std::string link;
    std::unique_ptr<testsupport::BackgroundProcess> plcsim;

    static std::vector<std::string> AsOrdinaryUser(const std::string& program,
                                                   std::vector<std::string> args) {
        if (::geteuid() != 0) return args;
        args.insert(args.begin(), {"--reuid=nobody", "--regid=nogroup", "--clear-groups", program});
        return args;
    }
    static std::string Launcher(const std::string& program) {
        return ::geteuid() == 0 ? "/usr/bin/setpriv" : program;
    }
    void SetUp() override {
        char dir[] = "/tmp/read-only-project-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        work = dir;
        // The folder is the user's (the link and the log go there); the project is root's
        // and read-only, as installed.
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(dir, kNobody, kNoGroup), 0);
        }
        fs::copy(fs::path(SAMPLES_DIR) / "project", work / "project");
        for (const auto& e : fs::directory_iterator(work / "project"))
            fs::permissions(e.path(),
                            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        link = (work / "plc").string();
        plcsim = std::make_unique<testsupport::BackgroundProcess>(
            Launcher(PLCSIM_PATH), AsOrdinaryUser(PLCSIM_PATH, {"--link", link}), link);
        ASSERT_TRUE(plcsim->running());
    }
    void TearDown() override {
        plcsim.reset();
        std::error_code ec;
        fs::permissions(work / "project", fs::perms::owner_all, ec);
        fs::remove_all(work, ec);
    }
    testsupport::RunResult Quarnctl(std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", link, "--log", (work / "log.txt").string()});
        return testsupport::Run(Launcher(QUARNCTL_PATH), AsOrdinaryUser(QUARNCTL_PATH, args));
    }
};

}  // namespace

TEST_F(ReadOnlyProject, IsDownloadedRehearsedAndVerifiedAndStaysAsItWas) {
    const fs::path project = work / "project" / "project.pr";
    const std::string before =
        testsupport::Run("/usr/bin/md5sum", {"-b", (work / "project" / "TANKDATA.ob").string()})
            .out;
    auto dry = Quarnctl({"--yes", "download", "--dry-run", project.string()});
    EXPECT_EQ(dry.exitStatus, 0) << dry.out << dry.err;
    auto download = Quarnctl({"--yes", "download", project.string()});
    EXPECT_EQ(download.exitStatus, 0) << download.err;
    EXPECT_NE(download.out.find("All Modules successfully downloaded"), std::string::npos);
    auto verify = Quarnctl({"verify", project.string()});
    EXPECT_EQ(verify.exitStatus, 0) << verify.out << verify.err;
    EXPECT_EQ(
        testsupport::Run("/usr/bin/md5sum", {"-b", (work / "project" / "TANKDATA.ob").string()})
            .out,
        before);
}

TEST_F(ReadOnlyProject, AModuleFileThatCannotBeReadIsRefusedWithWhy) {
    // A missing file keeps every user out, root included.
    const fs::path project = work / "project" / "project.pr";
    fs::permissions(work / "project", fs::perms::owner_all | fs::perms::group_read |
                                          fs::perms::group_exec | fs::perms::others_read |
                                          fs::perms::others_exec);
    fs::remove(work / "project" / "PUMPCTRL.ob");
    auto download = Quarnctl({"--yes", "download", project.string()});
    EXPECT_EQ(download.exitStatus, 1);
    EXPECT_NE(
        download.err.find("1 PUMPCTRL.ob\nCannot read " +
                          (work / "project" / "PUMPCTRL.ob").string() + ": it does not exist\n"),
        std::string::npos)
        << download.err;
}
