// bench_watch: the variable display with the demonstration symbol file against
// plcsim --realtime (every character takes its wire time at the client's speed), at 9600
// and 19200 baud. Prints pages per second and the ratio of the time per page to its floor
// (page_floor.h). The PLC answers while the client still waits its 100 ms after the
// request, so the floor counts the longer of that wait and the line time; the sum of waits
// and line time is printed beside it. Target: at most 1.02 times the floor.
//   bench_watch [--build BUILD] [--pages N]
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
#include "link/serial_link.h"
#include "monitor/variable_display.h"
#include "page_floor.h"
#include "testsupport/process.h"
#include "timing_viewer.h"

namespace {

constexpr double kTargetRatio = 1.02;
constexpr std::uint8_t kStation = 64;

struct Result {
    bool done = false;
    double secondsPerPage = 0;
    bench::PageFloor floor;  // of the average page
};

Result WatchOnce(const std::string& plcsim, const std::filesystem::path& samples, bool fast,
                 int pages) {
    Result result;
    const std::string link = testsupport::FreshLinkPath("plc");
    testsupport::BackgroundProcess sim(
        plcsim, {"--link", link, "--realtime", "--memory", (samples / "demo.mem").string()}, link);
    if (!sim.running()) return result;
    common::RealClock clock;
    auto port = serial::MakeSerialDevice(clock);
    serial::SerialDevice& device = *port;
    common::RecordingFrontend frontend;
    serial::CSerialLink serialLink(device, frontend, serial::Program::QuarnWin);
    if (!serialLink.Open(link, fast)) return result;
    plc::CPlcProgrammer programmer(serialLink, clock, frontend);
    programmer.state().stationAddress = kStation;
    monitor::VariableDisplay display(programmer);
    bench::TimingViewer viewer(serialLink, pages);
    try {
        display.RunVariableDisplay(samples / "demo.ot", viewer);
    } catch (const plc::CQuarnException& e) {
        std::fprintf(stderr, "%s\n", e.message().c_str());
        return result;
    }
    sim.stop();
    std::filesystem::remove_all(std::filesystem::path(link).parent_path());
    if (viewer.redraws.size() < 2) return result;

    // The cycles after the first redraw: each one's list reads, and their time.
    const auto& record = serialLink.TransmitRecord();
    const auto cycles = static_cast<double>(viewer.redraws.size() - 1);
    for (std::size_t page = 1; page < viewer.recordSizes.size(); ++page) {
        const bench::PageFloor floor = bench::FloorOfPage(
            bench::RequestsOfPage(record, viewer.recordSizes[page - 1], viewer.recordSizes[page]),
            fast ? 19200 : 9600);
        result.floor.telegrams += floor.telegrams;
        result.floor.requestCharacters += floor.requestCharacters;
        result.floor.answerCharacters += floor.answerCharacters;
        result.floor.serial += floor.serial;
        result.floor.overlapped += floor.overlapped;
    }
    result.floor.telegrams = static_cast<int>(result.floor.telegrams / cycles);
    result.floor.requestCharacters =
        static_cast<std::size_t>(result.floor.requestCharacters / cycles);
    result.floor.answerCharacters =
        static_cast<std::size_t>(result.floor.answerCharacters / cycles);
    result.floor.serial /= cycles;
    result.floor.overlapped /= cycles;
    result.secondsPerPage =
        std::chrono::duration<double>(viewer.redraws.back() - viewer.redraws.front()).count() /
        cycles;
    result.done = true;
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    std::string plcsim = PLCSIM_PATH;
    int pages = 16;
    int runs = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--build" && i + 1 < argc) {
            plcsim = std::string(argv[++i]) + "/sim/plc/plcsim";
        } else if (arg == "--pages" && i + 1 < argc) {
            pages = std::max(3, std::atoi(argv[++i]));
        } else if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: bench_watch [--build BUILD] [--pages N] [--runs N]\n");
            return 2;
        }
    }
    const std::filesystem::path samples = SAMPLES_DIR;
    std::printf("Variable display of demo.ot against plcsim --realtime, %d pages a run\n", pages);
    bool met = true;
    for (bool fast : {false, true}) {
        const int baud = fast ? 19200 : 9600;
        std::vector<double> ratios;
        for (int run = 1; run <= runs; ++run) {
            Result r = WatchOnce(plcsim, samples, fast, pages);
            if (!r.done) {
                std::fprintf(stderr, "%d baud: the display did not run\n", baud);
                return 1;
            }
            const double serialRatio = r.secondsPerPage / r.floor.serial.count();
            ratios.push_back(r.secondsPerPage / r.floor.overlapped.count());
            if (run == 1)
                std::printf(
                    "%5d baud: %d telegram(s) a page, %zu request + %zu answer characters\n"
                    "           floor %.3f s a page (answer inside the 100 ms wait);\n"
                    "           waits, line and pumps one after the other %.3f s\n",
                    baud, r.floor.telegrams, r.floor.requestCharacters, r.floor.answerCharacters,
                    r.floor.overlapped.count(), r.floor.serial.count());
            std::printf(
                "           run %d: %.3f s a page = %.2f pages/s, ratio %.4f "
                "(to the sum: %.4f)\n",
                run, r.secondsPerPage, 1.0 / r.secondsPerPage, ratios.back(), serialRatio);
        }
        std::sort(ratios.begin(), ratios.end());
        const double median = ratios[ratios.size() / 2];
        std::printf("           median ratio %.4f\n", median);
        met = met && median <= kTargetRatio;
    }
    std::printf("target: at most %.2f times the floor: %s\n", kTargetRatio,
                met ? "met" : "NOT met");
    return met ? 0 : 1;
}
