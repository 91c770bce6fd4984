#include "testsupport/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/clock.h"

extern char** environ;

namespace testsupport {

namespace fs = std::filesystem;

namespace {
std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<char*> Argv(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    return argv;
}

std::string TempFile(const std::string& stem) {
    char name[] = "/tmp/suite-test-XXXXXX";
    int fd = ::mkstemp(name);
    if (fd >= 0) ::close(fd);
    return std::string(name) + (stem.empty() ? "" : "");
}
}  // namespace

std::string FreshLinkPath(const std::string& stem) {
    char dir[] = "/tmp/suite-link-XXXXXX";
    if (::mkdtemp(dir) == nullptr) return "/tmp/" + stem + std::to_string(::getpid());
    return std::string(dir) + "/" + stem;
}

BackgroundProcess::BackgroundProcess(const std::string& program,
                                     const std::vector<std::string>& args,
                                     const std::string& waitForPath, bool captureErrors) {
    outPath_ = TempFile("out");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath_.c_str(), O_WRONLY | O_TRUNC, 0);
    if (captureErrors) {
        errPath_ = TempFile("err");
        posix_spawn_file_actions_addopen(&actions, 2, errPath_.c_str(), O_WRONLY | O_TRUNC, 0);
    }
    auto argv = Argv(program, args);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0)
        pid_ = pid;
    posix_spawn_file_actions_destroy(&actions);
    if (!waitForPath.empty()) this->waitForPath(waitForPath);
}

bool BackgroundProcess::waitForPath(const std::string& path, int timeoutMs) {
    common::RealClock clock;
    const common::Millis end = clock.now() + common::Millis(timeoutMs);
    while (pid_ > 0) {
        std::error_code ec;
        if (fs::exists(fs::symlink_status(path, ec))) return true;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return false;
        }
        if (clock.now() >= end) return false;
        clock.sleep(common::Millis(10));
    }
    return false;
}

int BackgroundProcess::stop(int signal) {
    int status = 0;
    bool ended = false;
    if (pid_ > 0) {
        ::kill(pid_, signal);
        ended = ::waitpid(pid_, &status, 0) == pid_;
        pid_ = -1;
    }
    if (!outPath_.empty()) {
        output_ = Slurp(outPath_);
        ::unlink(outPath_.c_str());
        outPath_.clear();
    }
    if (!errPath_.empty()) {
        errors_ = Slurp(errPath_);
        ::unlink(errPath_.c_str());
        errPath_.clear();
    }
    return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool BackgroundProcess::signal(int signal) {
    return pid_ > 0 && ::kill(pid_, signal) == 0;
}

BackgroundProcess::~BackgroundProcess() {
    stop();
}

RunResult Run(const std::string& program, const std::vector<std::string>& args,
              const std::string& input) {
    RunResult result;
    const std::string outPath = TempFile("out"), errPath = TempFile("err");
    std::string inPath = "/dev/null";
    if (!input.empty()) {
        inPath = TempFile("in");
        std::ofstream(inPath, std::ios::binary) << input;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_TRUNC, 0);
    auto argv = Argv(program, args);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = Slurp(outPath);
    result.err = Slurp(errPath);
    ::unlink(outPath.c_str());
    ::unlink(errPath.c_str());
    if (inPath != "/dev/null") ::unlink(inPath.c_str());
    return result;
}

}  // namespace testsupport
