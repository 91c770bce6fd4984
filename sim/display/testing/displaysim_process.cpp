#include "sim/display/testing/displaysim_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "common/clock.h"

extern char** environ;

namespace simtest {

DisplaySimProcess::DisplaySimProcess(std::string program, std::string link,
                                     std::vector<std::string> arguments)
    : link_(std::move(link)) {
    std::error_code ec;
    std::filesystem::remove(link_, ec);
    std::vector<std::string> all{program, "--link", link_};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) == 0)
        pid_ = pid;
}

DisplaySimProcess::~DisplaySimProcess() { stop(); }

bool DisplaySimProcess::waitReady(std::chrono::milliseconds timeout) {
    if (pid_ < 0) return false;
    common::RealClock clock;
    const auto end = clock.now() + timeout;
    while (clock.now() < end) {
        std::error_code ec;
        if (std::filesystem::is_symlink(link_, ec)) return true;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return false;
        }
        clock.sleep(common::Millis(10));
    }
    return false;
}

int DisplaySimProcess::stop() {
    if (pid_ < 0) return -1;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string UniqueTempPath(const std::string& stem) {
    std::random_device random;
    return "/tmp/" + stem + "-" + std::to_string(::getpid()) + "-" + std::to_string(random());
}

}  // namespace simtest
