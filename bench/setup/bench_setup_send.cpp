// bench_setup_send: sends the sample setup (anlage.set with its tables and anlage.txt) to
// displaysim --realtime, which takes and answers every character at 9600 baud, and sets
// the time against the wire floor of the session. Target: at most 1.02 times the floor.
//   bench_setup_send [--build BUILD] [--runs N]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/recording_frontend.h"
#include "link/platform_serial.h"
#include "setup_tool/core/setup_sender.h"
#include "setup_tool/core/text_pages.h"
#include "testsupport/process.h"
#include "wire_floor.h"

namespace {

constexpr double kTargetRatio = 1.02;

// The clock step answered at once with a fixed time, as a technician confirming the dialog.
struct ConfirmedClock final : setup::TimeDateDialog {
    std::optional<setup::ClockEntry> show(const setup::ClockEntry& prefilled) override {
        return prefilled;
    }
};

struct Run {
    double seconds = 0;
    bench::WireFloor floor;
    bool done = false;
};

Run SendOnce(const std::string& displaysim, const std::filesystem::path& sample) {
    const std::string link = testsupport::FreshLinkPath("display");
    testsupport::BackgroundProcess sim(displaysim, {"--link", link, "--realtime"}, link);
    Run run;
    if (!sim.running()) return run;
    common::RealClock clock;
    auto port = serial::MakeSerialDevice(clock);
    serial::SerialDevice& device = *port;
    common::RecordingFrontend frontend;
    ConfirmedClock timeDate;
    setup::CSetupSender sender(device, frontend, timeDate,
                               [] { return setup::LocalTime{2024, 3, 7, 9, 5, 3}; });
    if (!sender.OpenPort(link)) return run;
    const auto start = std::chrono::steady_clock::now();
    run.done =
        sender.SendSetup(setup::SetupPathForTextFile(sample.string())) == setup::SendOutcome::Done;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.floor = bench::FloorOf(sender.Link().TransmitRecord());
    sim.stop();
    std::filesystem::remove_all(std::filesystem::path(link).parent_path());
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    std::string displaysim = DISPLAYSIM_PATH;
    int runs = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--build" && i + 1 < argc) {
            displaysim = std::string(argv[++i]) + "/sim/display/displaysim";
        } else if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: bench_setup_send [--build BUILD] [--runs N]\n");
            return 2;
        }
    }
    const std::filesystem::path sample = std::filesystem::path(SAMPLES_DIR) / "anlage.txt";
    std::printf("Full send of %s to displaysim --realtime (9600 baud, 11 bits a character)\n",
                sample.filename().c_str());
    std::vector<double> ratios;
    for (int r = 1; r <= runs; ++r) {
        Run run = SendOnce(displaysim, sample);
        if (!run.done) {
            std::fprintf(stderr, "run %d: the transfer did not complete\n", r);
            return 1;
        }
        const double floor = run.floor.time.count();
        ratios.push_back(run.seconds / floor);
        std::printf(
            "run %d: %zu command + %zu answer characters, floor %.3f s, measured %.3f s, "
            "ratio %.4f\n",
            r, run.floor.commandCharacters, run.floor.answerCharacters, floor, run.seconds,
            ratios.back());
    }
    std::sort(ratios.begin(), ratios.end());
    const double median = ratios[ratios.size() / 2];
    std::printf("median ratio %.4f (target at most %.2f): %s\n", median, kTargetRatio,
                median <= kTargetRatio ? "met" : "NOT met");
    return median <= kTargetRatio ? 0 : 1;
}
