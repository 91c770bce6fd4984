// bench_remote: the PLC tool through a serial device server. ser2net on loopback serves
// plcsim --realtime's pseudo-terminal over RFC 2217 at 9600 baud; the sample project's
// download and pages of the variable display are timed against their floors on a local
// line by the protocol's rules (plc/transfer/protocol_time.h, bench/watch/page_floor.h),
// with ser2net's character delay off and on. Then eight plcsim behind eight ser2net ports
// take the download at once: the wall time against one download.
// Target: measured / overlapped floor <= 1.01 with the character delay off.
//   bench_remote [--build BUILD] [--pages N] [--devices N]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/clock.h"
#include "common/recording_frontend.h"
#include "link/platform_serial.h"
#include "link/scripted_device.h"
#include "link/serial_link.h"
#include "monitor/variable_display.h"
#include "page_floor.h"
#include "plc/transfer/download.h"
#include "plc/transfer/protocol_time.h"
#include "recorded_plc.h"
#include "sim/plc/plc_device.h"
#include "testsupport/process.h"
#include "testsupport/ser2net_server.h"
#include "timing_viewer.h"

namespace fs = std::filesystem;

namespace {

constexpr double kTargetRatio = 1.01;
constexpr std::uint8_t kStation = 64;
constexpr int kBaud = 9600;
using Steady = std::chrono::steady_clock;

double Since(Steady::time_point start) {
    return std::chrono::duration<double>(Steady::now() - start).count();
}

bool Download(plc::CPlcProgrammer& programmer, const fs::path& project) {
    plc::TransferLog noLog;
    plc::Download download(programmer, noLog, bench::FixedTime);
    return download.Run(project) == plc::DownloadOutcome::kComplete;
}

// The download's floor: the same download against the simulated PLC in this process, every
// telegram and answer recorded, the time following from them by the protocol's rules.
plc::timing::TimeFloor DownloadFloor(const fs::path& project) {
    common::FakeClock clock;
    serial::ScriptedDevice device(clock);
    sim::PlcDevice plc(kStation, 2, 0);
    std::vector<plc::timing::Exchange> exchanges;
    bench::AnswerAsPlc(device, plc, exchanges);
    common::RecordingFrontend frontend;
    for (int i = 0; i < 3; ++i) frontend.answer(true);
    serial::CSerialLink link(device, frontend, serial::Program::QuarnWin);
    link.Open("floor", false);
    plc::CPlcProgrammer programmer(link, clock, frontend);
    programmer.state().stationAddress = kStation;
    Download(programmer, project);
    return plc::timing::FloorOf(exchanges, kBaud);
}

// The seconds of one download through the port; negative when it failed.
double TimedDownload(const std::string& port, const fs::path& project) {
    common::RealClock clock;
    auto device = serial::MakeSerialDevice(clock);
    common::RecordingFrontend frontend;
    for (int i = 0; i < 3; ++i) frontend.answer(true);
    serial::CSerialLink link(*device, frontend, serial::Program::QuarnWin);
    if (!link.Open(port, false)) {
        std::fprintf(stderr, "bench_remote: cannot open %s: %s\n", port.c_str(),
                     link.OpenFailureText().c_str());
        return -1;
    }
    plc::CPlcProgrammer programmer(link, clock, frontend);
    programmer.state().stationAddress = kStation;
    const auto start = Steady::now();
    try {
        if (!Download(programmer, project)) return -1;
    } catch (const plc::CQuarnException& e) {
        std::fprintf(stderr, "bench_remote: %s\n", e.message().c_str());
        return -1;
    }
    return Since(start);
}

struct PageTiming {
    double secondsPerPage = -1;
    double floorPerPage = 0;
};

// Pages of demo.ot through the port, after the first one; their floor from the requests.
PageTiming TimedPages(const std::string& port, const fs::path& samples, int pages) {
    PageTiming timing;
    common::RealClock clock;
    auto device = serial::MakeSerialDevice(clock);
    common::RecordingFrontend frontend;
    serial::CSerialLink link(*device, frontend, serial::Program::QuarnWin);
    if (!link.Open(port, false)) return timing;
    plc::CPlcProgrammer programmer(link, clock, frontend);
    programmer.state().stationAddress = kStation;
    monitor::VariableDisplay display(programmer);
    bench::TimingViewer viewer(link, pages);
    try {
        display.RunVariableDisplay(samples / "monitor" / "demo.ot", viewer);
    } catch (const plc::CQuarnException& e) {
        std::fprintf(stderr, "bench_remote: %s\n", e.message().c_str());
        return timing;
    }
    if (viewer.redraws.size() < 2) return timing;
    const auto& record = link.TransmitRecord();
    const double cycles = static_cast<double>(viewer.redraws.size() - 1);
    double floor = 0;
    for (std::size_t page = 1; page < viewer.recordSizes.size(); ++page) {
        floor += bench::FloorOfPage(bench::RequestsOfPage(record, viewer.recordSizes[page - 1],
                                                          viewer.recordSizes[page]),
                                    kBaud)
                     .overlapped.count();
    }
    timing.floorPerPage = floor / cycles;
    timing.secondsPerPage =
        std::chrono::duration<double>(viewer.redraws.back() - viewer.redraws.front()).count() /
        cycles;
    return timing;
}

// plcsim --realtime instances on fresh links, with the demonstration memory.
struct Plcs {
    std::vector<std::unique_ptr<testsupport::BackgroundProcess>> processes;
    std::vector<testsupport::Ser2netConnection> connections;
    Plcs(const std::string& plcsim, const fs::path& samples, int count, bool charDelay) {
        for (int i = 0; i < count; ++i) {
            const std::string link = testsupport::FreshLinkPath("plc" + std::to_string(i));
            processes.push_back(std::make_unique<testsupport::BackgroundProcess>(
                plcsim,
                std::vector<std::string>{"--link", link, "--realtime", "--memory",
                                         (samples / "monitor" / "demo.mem").string()},
                link));
            connections.push_back({link, "9600e81", true, charDelay});
        }
    }
    ~Plcs() {
        for (auto& p : processes) p->stop();
        for (auto& c : connections) {
            std::error_code ec;
            fs::remove_all(fs::path(c.device).parent_path(), ec);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    std::string plcsim = PLCSIM_PATH;
    int pages = 8;
    int devices = 8;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--build" && i + 1 < argc) {
            plcsim = std::string(argv[++i]) + "/sim/plc/plcsim";
        } else if (arg == "--pages" && i + 1 < argc) {
            pages = std::max(3, std::atoi(argv[++i]));
        } else if (arg == "--devices" && i + 1 < argc) {
            devices = std::max(2, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: bench_remote [--build BUILD] [--pages N] [--devices N]\n");
            return 2;
        }
    }
    if (!fs::exists(testsupport::kSer2netPath)) {
        std::fprintf(stderr, "bench_remote: %s is not installed (make deps)\n",
                     testsupport::kSer2netPath);
        return 1;
    }
    const fs::path samples = SAMPLES_DIR;
    const fs::path project = samples / "project" / "project.pr";
    const plc::timing::TimeFloor floor = DownloadFloor(project);
    std::printf(
        "Through ser2net on loopback (RFC 2217, 9600 8E1) to plcsim --realtime; floors by the\n"
        "protocol's rules on a local line (overlapped: answers cross the line while the PC\n"
        "still waits after its request).\n\n");
    std::printf("%-22s %10s %10s %8s\n", "case", "measured", "floor", "ratio");
    bool met = true;
    double single = 0;
    double singlePage = 0;
    for (bool charDelay : {false, true}) {
        Plcs plc(plcsim, samples, 1, charDelay);
        testsupport::Ser2net server(plc.connections);
        if (!server.running()) {
            std::fprintf(stderr, "bench_remote: ser2net did not start: %s\n",
                         server.errors().c_str());
            return 1;
        }
        const char* delay = charDelay ? "on " : "off";
        const double seconds = TimedDownload(server.url(), project);
        const PageTiming page = TimedPages(server.url(), samples, pages);
        if (seconds < 0 || page.secondsPerPage < 0) return 1;
        const double downloadRatio = seconds / floor.overlapped.count();
        const double pageRatio = page.secondsPerPage / page.floorPerPage;
        std::printf("download, chardelay %s %8.3f s %8.3f s %8.4f\n", delay, seconds,
                    floor.overlapped.count(), downloadRatio);
        std::printf("watch page, chardelay %s %6.3f s %8.3f s %8.4f\n", delay, page.secondsPerPage,
                    page.floorPerPage, pageRatio);
        if (!charDelay) {
            single = seconds;
            singlePage = page.secondsPerPage;
            met = downloadRatio <= kTargetRatio && pageRatio <= kTargetRatio;
        } else {
            std::printf(
                "  the character delay costs %.3f s on the download (%+.1f %%), %.1f ms "
                "a page\n",
                seconds - single, 100.0 * (seconds - single) / single,
                1000.0 * (page.secondsPerPage - singlePage));
        }
    }

    // Many devices behind one server, downloaded at once, each on its own thread.
    Plcs plc(plcsim, samples, devices, false);
    testsupport::Ser2net server(plc.connections);
    if (!server.running()) return 1;
    std::vector<double> each(static_cast<size_t>(devices), -1);
    std::vector<std::thread> threads;
    const auto start = Steady::now();
    for (int i = 0; i < devices; ++i)
        threads.emplace_back([&, i] {
            each[static_cast<size_t>(i)] =
                TimedDownload(server.url(static_cast<size_t>(i)), project);
        });
    for (auto& t : threads) t.join();
    const double wall = Since(start);
    if (std::any_of(each.begin(), each.end(), [](double s) { return s < 0; })) return 1;
    std::printf(
        "\n%d downloads at once through %d ser2net ports: wall %.3f s, one alone %.3f s "
        "(%.3f x), slowest %.3f s\n",
        devices, devices, wall, single, wall / single, *std::max_element(each.begin(), each.end()));
    std::printf("\ntarget: measured <= %.2f x floor with the character delay off: %s\n",
                kTargetRatio, met ? "met" : "MISSED");
    return met ? 0 : 1;
}
