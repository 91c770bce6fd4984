#pragma once
// Running the suite's programs from integration tests: a simulator in the background on a
// fresh link, and a tool run to completion with its output captured.
#include <string>
#include <vector>

namespace testsupport {

// A fresh path for a simulator's link, in a temporary folder of its own.
std::string FreshLinkPath(const std::string& stem);

// Starts a program in the background and stops it (SIGTERM, then waits) when destroyed.
class BackgroundProcess {
  public:
    // Starts program with args; when waitForPath is given, waits (up to 5 s) until it exists.
    // captureErrors: standard error is kept for errors() instead of passed through.
    BackgroundProcess(const std::string& program, const std::vector<std::string>& args,
                      const std::string& waitForPath = {}, bool captureErrors = false);
    ~BackgroundProcess();
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;

    bool running() const { return pid_ > 0; }
    // Waits until the path exists: true then; false after the time-out or when the
    // process ended first (bad arguments, for example).
    bool waitForPath(const std::string& path, int timeoutMs = 5000);
    // Stops it now (SIGTERM, or the signal given); its exit status, -1 when it did not end
    // normally or was not running. output() then holds what it wrote.
    int stop(int signal = 15);
    // Sends a signal and returns at once (SIGSTOP, SIGCONT); false when not running.
    bool signal(int signal);
    const std::string& output() const { return output_; }
    const std::string& errors() const { return errors_; }

  private:
    int pid_ = -1;
    int outFd_ = -1;
    std::string outPath_;
    std::string output_;
    std::string errPath_;
    std::string errors_;
};

struct RunResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// Runs program with args to its end; standard input is /dev/null unless input is given.
RunResult Run(const std::string& program, const std::vector<std::string>& args,
              const std::string& input = {});

}  // namespace testsupport
