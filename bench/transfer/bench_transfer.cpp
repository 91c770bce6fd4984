// bench_transfer: download, download + verify, backup + download, upload and directory read
// of the sample project against plcsim --realtime (every character takes its wire time at
// the client's speed), at 9600 and 19200 baud, and the time a known station (--station)
// saves over the search. Prints per case the measured time, its floors by the protocol's
// rules (plc/transfer/protocol_time.h: the waits each telegram's kind demands and every
// byte of request and answer at 11 bits a character, never the operation's own time) and
// the ratios. Target: at most 1.02 times the floor, met against the lower (overlapped) one.
//   bench_transfer [--build BUILD] [--station-only]
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/recording_frontend.h"
#include "link/platform_serial.h"
#include "link/scripted_device.h"
#include "link/serial_link.h"
#include "monitor/station_search.h"
#include "plc/transfer/backup.h"
#include "plc/transfer/download.h"
#include "plc/transfer/plc_directory.h"
#include "plc/transfer/protocol_time.h"
#include "plc/transfer/upload.h"
#include "plc/transfer/verify.h"
#include "recorded_plc.h"
#include "sim/plc/plc_device.h"
#include "testsupport/process.h"

namespace fs = std::filesystem;

namespace {

constexpr double kTargetRatio = 1.02;
constexpr std::uint8_t kStation = 64;
const char* const kCases[] = {"download", "download+verify", "backup+download", "upload",
                              "directory"};
// The station plcsim answers at in the search case: 64, 0, 1 and 2 stay silent first.
constexpr std::uint8_t kFarStation = 3;

// Runs the cases in order on one programmer (the PLC keeps what the downloads wrote);
// measure wraps each case.
void RunCases(plc::CPlcProgrammer& programmer, const fs::path& project, const fs::path& folder,
              const std::function<void(int, const std::function<void()>&)>& measure) {
    plc::TransferLog noLog;
    auto download = [&](plc::Download& d) {
        if (d.Run(project) != plc::DownloadOutcome::kComplete)
            std::fprintf(stderr, "bench_transfer: the download did not complete\n");
    };
    measure(0, [&] {
        plc::Download d(programmer, noLog, bench::FixedTime);
        download(d);
    });
    measure(1, [&] {
        plc::Download d(programmer, noLog, bench::FixedTime);
        download(d);
        plc::ExpectedProject expected;
        for (const auto& m : d.written()) expected.modules.push_back({m.header, m.code, true});
        expected.configuration = d.writtenConfiguration();
        if (!plc::CompareProject(expected, plc::ReadBack(programmer)).ok())
            std::fprintf(stderr, "bench_transfer: the verify found differences\n");
    });
    measure(2, [&] {
        plc::Download d(programmer, noLog, bench::FixedTime);
        d.SetBeforeChanges([&] {
            return plc::BackUpPlc(programmer, noLog, folder / "backups", bench::FixedTime);
        });
        download(d);
    });
    measure(3, [&] {
        plc::Upload upload(programmer, noLog, bench::FixedTime);
        if (upload.Run(folder) != plc::UploadOutcome::kComplete)
            std::fprintf(stderr, "bench_transfer: the upload did not complete\n");
    });
    measure(4, [&] { plc::ReadPlcDirectory(programmer); });
}

// The floors: the same cases against the simulated PLC in this process, recording every
// telegram and its answer; the floor follows from them by the protocol's rules alone.
std::vector<plc::timing::TimeFloor> Floors(const fs::path& project, const fs::path& folder,
                                           bool fast) {
    common::FakeClock clock;
    serial::ScriptedDevice device(clock);
    sim::PlcDevice plc(kStation, 2, 0);
    std::vector<plc::timing::Exchange> exchanges;
    bench::AnswerAsPlc(device, plc, exchanges);
    common::RecordingFrontend frontend;
    for (int i = 0; i < 3; ++i) frontend.answer(true);
    serial::CSerialLink link(device, frontend, serial::Program::QuarnWin);
    link.Open("bench", fast);
    plc::CPlcProgrammer programmer(link, clock, frontend);
    programmer.state().stationAddress = kStation;
    std::vector<plc::timing::TimeFloor> floors;
    RunCases(programmer, project, folder, [&](int, const std::function<void()>& run) {
        exchanges.clear();
        run();
        floors.push_back(plc::timing::FloorOf(exchanges, fast ? 19200 : 9600));
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
    auto port = serial::MakeSerialDevice(clock);
    serial::SerialDevice& device = *port;
    common::RecordingFrontend frontend;
    for (int i = 0; i < 3; ++i) frontend.answer(true);
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

// The connection check against plcsim --realtime at kFarStation: with the search, and with
// the station known. The seconds of each.
std::vector<double> MeasureStation(const std::string& plcsim) {
    std::vector<double> seconds;
    const std::string linkPath = testsupport::FreshLinkPath("plc");
    testsupport::BackgroundProcess sim(
        plcsim, {"--link", linkPath, "--realtime", "--station", std::to_string(kFarStation)},
        linkPath);
    if (!sim.running()) return seconds;
    common::RealClock clock;
    auto port = serial::MakeSerialDevice(clock);
    serial::SerialDevice& device = *port;
    common::RecordingFrontend frontend;
    serial::CSerialLink link(device, frontend, serial::Program::QuarnWin);
    if (!link.Open(linkPath, false)) return seconds;
    // One programmer: its end closes the link.
    plc::CPlcProgrammer programmer(link, clock, frontend);
    for (bool known : {false, true}) {
        monitor::ConnectionCheck check(programmer);
        if (known) check.UseStation(kFarStation);
        const auto start = std::chrono::steady_clock::now();
        if (!check.CheckConnection()) return {};
        seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    sim.stop();
    fs::remove_all(fs::path(linkPath).parent_path());
    return seconds;
}

// The identify request (46 bytes) and its answer (18 bytes) at 9600 baud; a silent address
// costs the request, the 100 ms wait and the 2 s read time-out.
plc::timing::TimeFloor IdentifyFloor(int silent, bool answered) {
    std::vector<plc::timing::Exchange> exchanges(silent, {0x2E, 46, 0});
    if (answered) exchanges.push_back({0x2E, 46, 18});
    return plc::timing::FloorOf(exchanges, 9600);
}

}  // namespace

// Prints the connection check with the search and with the station known; false when
// plcsim could not be reached.
bool ReportStation(const std::string& plcsim) {
    const std::vector<double> station = MeasureStation(plcsim);
    if (station.size() != 2) {
        std::fprintf(stderr, "bench_transfer: plcsim could not be reached at station %d\n",
                     kFarStation);
        return false;
    }
    // Four silent addresses (64, 0, 1, 2) before the PLC answers; each waits out the read
    // time-out of 2 s besides its request and wait.
    const double timeout = 2.0;
    const double searchFloor = IdentifyFloor(4, true).overlapped.count() + 4 * timeout;
    const double knownFloor = IdentifyFloor(0, true).overlapped.count();
    std::printf(
        "\nconnection check, PLC at station %d, 9600 baud:\n"
        "  search       %8.3f s  floor %8.3f s  ratio %.4f\n"
        "  --station %d  %8.3f s  floor %8.3f s  ratio %.4f\n"
        "  --station saves %.3f s here (%.3f s for every silent address; up to 17 of them)\n",
        kFarStation, station[0], searchFloor, station[0] / searchFloor, kFarStation, station[1],
        knownFloor, station[1] / knownFloor, station[0] - station[1],
        IdentifyFloor(1, false).overlapped.count() + timeout);
    return true;
}

int main(int argc, char** argv) {
    std::string plcsim = PLCSIM_PATH;
    bool stationOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--build" && i + 1 < argc) {
            plcsim = std::string(argv[++i]) + "/sim/plc/plcsim";
        } else if (arg == "--station-only") {
            stationOnly = true;
        } else {
            std::fprintf(stderr, "usage: bench_transfer [--build BUILD] [--station-only]\n");
            return 2;
        }
    }
    if (stationOnly) return ReportStation(plcsim) ? 0 : 1;
    const fs::path project = fs::path(SAMPLES_DIR) / "project.pr";
    const fs::path scratch = fs::path(testsupport::FreshLinkPath("bench")).parent_path();
    std::printf(
        "Sample project (%s) against plcsim --realtime, 11 bits a character.\n"
        "floor: the protocol's waits plus every byte on the line, one after the other;\n"
        "overlapped: answers crossing the line while the PC still waits after its request.\n\n",
        project.parent_path().c_str());
    std::printf("%-16s %6s %9s %10s %11s %8s %10s %8s\n", "case", "baud", "telegrams", "measured",
                "floor", "ratio", "overlapped", "ratio");
    bool met = true;
    for (bool fast : {false, true}) {
        const int baud = fast ? 19200 : 9600;
        const fs::path floorFolder = scratch / (std::to_string(baud) + "-floor") / "project";
        const fs::path measuredFolder = scratch / (std::to_string(baud) + "-measured") / "project";
        fs::create_directories(floorFolder);
        fs::create_directories(measuredFolder);
        const std::vector<plc::timing::TimeFloor> floors = Floors(project, floorFolder, fast);
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
            std::printf("%-16s %6d %9d %8.3f s %9.3f s %8.4f %8.3f s %8.4f\n", kCases[c], baud,
                        floors[c].exchanges, measured[c], floors[c].serial.count(), serialRatio,
                        floors[c].overlapped.count(), overlappedRatio);
        }
    }
    fs::remove_all(scratch);

    if (!ReportStation(plcsim)) return 1;
    std::printf("\ntarget: measured <= %.2f x floor: %s\n", kTargetRatio, met ? "met" : "MISSED");
    return met ? 0 : 1;
}
