// quarnctl against plcsim on a pseudo-terminal, in real time.
#include <gtest/gtest.h>

#include <filesystem>

#include "testsupport/process.h"

namespace {

struct QuarnctlAgainstPlcsim : ::testing::Test {
    std::string link = testsupport::FreshLinkPath("plc");
    std::unique_ptr<testsupport::BackgroundProcess> plcsim;

    void StartPlc(std::vector<std::string> args) {
        args.insert(args.begin(), {"--link", link, "--verbose"});
        plcsim = std::make_unique<testsupport::BackgroundProcess>(PLCSIM_PATH, args, link);
        ASSERT_TRUE(plcsim->running());
    }
    testsupport::RunResult Quarnctl(std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", link});
        return testsupport::Run(QUARNCTL_PATH, args);
    }
};

}  // namespace

TEST_F(QuarnctlAgainstPlcsim, ResetFindsStation3AndSendsTheResetFrame) {
    StartPlc({"--station", "3"});
    auto result = Quarnctl({"reset"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out,
              "Scan SPS SP\nScan SPS S0\nScan SPS S1\nScan SPS S2\nScan SPS S3\nReset\nReseted\n");
    EXPECT_EQ(result.err, "The PLC answered at station 3; --station 3 skips the search.\n");
    plcsim->stop();
    EXPECT_NE(plcsim->output().find("<- 68 06 06 68 03 FF 04 24 00 00 2A 16"), std::string::npos)
        << plcsim->output();
    // Stopped with SIGTERM, the simulator takes its link away.
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST_F(QuarnctlAgainstPlcsim, IdentifyAtNineteenThousandBaudPrintsStationAndFirmware) {
    StartPlc({"--firmware", "1.9"});
    auto result = Quarnctl({"--baud", "19200", "identify"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out, "Scan SPS SP\nStation address: 64\nFirmware: 1.9\n");
}

TEST_F(QuarnctlAgainstPlcsim, WrongAcknowledgementsEndWithCommunicationError) {
    for (std::string fault : {"wrong-ack", "telegram-ack"}) {
        StartPlc({"--fault", fault});
        auto result = Quarnctl({"reset"});
        EXPECT_EQ(result.exitStatus, 1) << fault;
        EXPECT_EQ(result.out, "Scan SPS SP\nReset\n") << fault;
        EXPECT_EQ(result.err,
                  std::string("The PLC answered at station 64; --station 64 skips the search.\n") +
                      "Communication error\n")
            << fault;
        plcsim.reset();
    }
}

TEST_F(QuarnctlAgainstPlcsim, SilenceAfterTheSearchIsATimeout) {
    // The identify request is answered, the reset is not.
    StartPlc({"--fault", "silent-after=1"});
    auto result = Quarnctl({"--trace", "reset"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, "Scan SPS SP\nReset\n");
    EXPECT_NE(result.err.find("> 68 06 06 68 40 FF 04 24 00 00 67 16"), std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("Communication error"), std::string::npos);
}

TEST_F(QuarnctlAgainstPlcsim, NoPortAndWrongUsageHaveTheirOwnStatus) {
    auto missing = testsupport::Run(QUARNCTL_PATH, {"--port", "/dev/ttyNoSuchPort7", "reset"});
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_NE(missing.err.find("does not exist"), std::string::npos) << missing.err;
    EXPECT_EQ(testsupport::Run(QUARNCTL_PATH, {"frobnicate"}).exitStatus, 2);
    EXPECT_EQ(testsupport::Run(QUARNCTL_PATH, {"--baud", "4800", "reset"}).exitStatus, 2);
    auto noValue = testsupport::Run(QUARNCTL_PATH, {"--port"});
    EXPECT_EQ(noValue.exitStatus, 2);
    EXPECT_EQ(noValue.err, "quarnctl: --port needs a value\n");
    auto help = testsupport::Run(QUARNCTL_PATH, {"reset", "--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("Reset the PLC."), std::string::npos);
}

TEST_F(QuarnctlAgainstPlcsim, SilentPlcIsNotFoundAtAnyAddress) {
    // All 17 addresses are tried in real time: about 36 seconds.
    StartPlc({"--fault", "silent"});
    auto result = Quarnctl({"reset"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "No answer from SPS! Please check connection and retry.\n");
    EXPECT_EQ(result.out.find("Reset\n"), std::string::npos);
    EXPECT_NE(result.out.find("Scan SPS S15\n"), std::string::npos);
}
