// bench_transfer: download, upload and directory read of the sample project against
// plcsim --realtime (every character takes its wire time at the client's speed), at 9600
// and 19200 baud. Prints per case the measured time, its floors (transfer_floor.h) and the
// ratios. Target: at most 1.02 times the floor, met against the lower (overlapped) floor.
//   bench_transfer [--build BUILD]
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/recording_frontend.h"
#include "link/scripted_device.h"
#include "link/serial_link.h"
#include "link/termios_device.h"
#include "plc/transfer/download.h"
#include "plc/transfer/plc_directory.h"
#include "plc/transfer/upload.h"
#include "sim/plc/plc_device.h"
#include "sim/plc/request_parser.h"
#include "testsupport/process.h"
#include "transfer_floor.h"

namespace fs = std::filesystem;

namespace {

constexpr double kTargetRatio = 1.02;
constexpr std::uint8_t kStation = 64;
const char* const kCases[] = {"download", "upload", "directory"};

std::tm FixedTime() {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mday = 1;
    return t;
}

// Runs the three cases in order on one programmer (the PLC keeps what the download wrote);
// measure wraps each case.
void RunCases(plc::CPlcProgrammer& programmer, const fs::path& project, const fs::path& folder,
              const std::function<void(int, const std::function<void()>&)>& measure) {
    plc::TransferLog noLog;
    measure(0, [&] {
        plc::Download download(programmer, noLog, FixedTime);
        if (download.Run(project) != plc::DownloadOutcome::kComplete)
            std::fprintf(stderr, "bench_transfer: the download did not complete\n");
    });
    measure(1, [&] {
        plc::Upload upload(programmer, noLog, FixedTime);
        if (upload.Run(folder) != plc::UploadOutcome::kComplete)
            std::fprintf(stderr, "bench_transfer: the upload did not complete\n");
    });
    measure(2, [&] { plc::ReadPlcDirectory(programmer); });
}

// The floors: the same cases against the simulated PLC in this process, on virtual time.
std::vector<bench::TransferFloor> Floors(const fs::path& project, const fs::path& folder,
                                         bool fast) {
    common::FakeClock clock;
    serial::ScriptedDevice device(clock);
    sim::PlcDevice plc(kStation, 2, 0);
    std::vector<bench::Exchange> exchanges;
    common::Millis lastWrite{0};
    device.respond([&](const std::string& frame) {
        sim::RequestParser parser;
        std::string reply;
        for (unsigned char byte : frame)
            if (auto request = parser.feed(byte)) reply = plc.handle(*request);
        exchanges.push_back({static_cast<std::uint8_t>(frame.size() > 7 ? frame[7] : 0),
                             frame.size(), reply.size(), clock.now() - lastWrite});
        lastWrite = clock.now();
        return reply;
    });
    common::RecordingFrontend frontend;
    frontend.answer(true);
    serial::CSerialLink link(device, frontend, serial::Program::QuarnWin);
    link.Open("bench", fast);
    plc::CPlcProgrammer programmer(link, clock, frontend);
    programmer.state().stationAddress = kStation;
    std::vector<bench::TransferFloor> floors;
    RunCases(programmer, project, folder, [&](int, const std::function<void()>& run) {
        exchanges.clear();
        lastWrite = clock.now();
        run();
        floors.push_back(bench::FloorOf(exchanges, clock.now() - lastWrite, fast ? 19200 : 9600));
    });
    return floors;
}

// The measured times against plcsim --realtime.
std::vector<double> Measure(const std::string& plcsim, const fs::path& project,
                            const fs::path& folder, bool fast) {
    std::vector<double> seconds;
    const std::string linkPath = testsupport::FreshLinkPath("plc");
    testsupport::BackgroundProcess sim(plcsim, {"--link", linkPath, "--realtime"}, linkPath);
    if (!sim.running()) return seconds;
    common::RealClock clock;
    serial::TermiosDevice device(clock);
    common::RecordingFrontend frontend;
    frontend.answer(true);
    serial::CSerialLink link(device, frontend, serial::Program::QuarnWin);
    if (!link.Open(linkPath, fast)) return seconds;
    plc::CPlcProgrammer programmer(link, clock, frontend);
    programmer.state().stationAddress = kStation;
    RunCases(programmer, project, folder, [&](int, const std::function<void()>& run) {
        const auto start = std::chrono::steady_clock::now();
        run();
        seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    });
    link.Close();
    sim.stop();
    fs::remove_all(fs::path(linkPath).parent_path());
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    std::string plcsim = PLCSIM_PATH;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--build" && i + 1 < argc) {
            plcsim = std::string(argv[++i]) + "/sim/plc/plcsim";
        } else {
            std::fprintf(stderr, "usage: bench_transfer [--build BUILD]\n");
            return 2;
        }
    }
    const fs::path project = fs::path(SAMPLES_DIR) / "project.pr";
    const fs::path scratch = fs::path(testsupport::FreshLinkPath("bench")).parent_path();
    std::printf(
        "Sample project (%s) against plcsim --realtime, 11 bits a character.\n"
        "floor: the protocol's waits plus every byte on the line, one after the other;\n"
        "overlapped: answers crossing the line while the PC still waits after its request.\n\n",
        project.parent_path().c_str());
    std::printf("%-10s %6s %9s %10s %11s %8s %10s %8s\n", "case", "baud", "telegrams", "measured",
                "floor", "ratio", "overlapped", "ratio");
    bool met = true;
    for (bool fast : {false, true}) {
        const int baud = fast ? 19200 : 9600;
        const fs::path floorFolder = scratch / (std::to_string(baud) + "-floor") / "project";
        const fs::path measuredFolder = scratch / (std::to_string(baud) + "-measured") / "project";
        fs::create_directories(floorFolder);
        fs::create_directories(measuredFolder);
        const std::vector<bench::TransferFloor> floors = Floors(project, floorFolder, fast);
        const std::vector<double> measured = Measure(plcsim, project, measuredFolder, fast);
        if (measured.size() != floors.size()) {
            std::fprintf(stderr, "bench_transfer: plcsim could not be reached\n");
            return 1;
        }
        for (size_t c = 0; c < floors.size(); ++c) {
            const double serialRatio = measured[c] / floors[c].serial.count();
            const double overlappedRatio = measured[c] / floors[c].overlapped.count();
            // The overlapped floor is the lower one, so its ratio is the one to meet.
            met = met && overlappedRatio <= kTargetRatio;
            std::printf("%-10s %6d %9d %8.3f s %9.3f s %8.4f %8.3f s %8.4f\n", kCases[c], baud,
                        floors[c].exchanges, measured[c], floors[c].serial.count(), serialRatio,
                        floors[c].overlapped.count(), overlappedRatio);
        }
    }
    fs::remove_all(scratch);
    std::printf("\ntarget: measured <= %.2f x floor: %s\n", kTargetRatio, met ? "met" : "MISSED");
    return met ? 0 : 1;
}
