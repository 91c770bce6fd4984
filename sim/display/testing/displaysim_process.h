#pragma once
// Runs displaysim as a child process for integration tests: starts it on a fresh link,
// waits until the link is there, and stops it (SIGTERM) when the object goes away.
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "testsupport/process.h"

namespace simtest {

class DisplaySimProcess {
  public:
    // program: the displaysim executable; arguments after "--link LINK".
    DisplaySimProcess(std::string program, std::string link, std::vector<std::string> arguments);

    // True once the link exists (the display is listening), false after the time-out or
    // when the process ended (bad arguments, for example).
    bool waitReady(std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
    // Stops the process and returns its exit status (-1 when it did not end normally).
    int stop();
    const std::string& link() const { return link_; }

  private:
    std::string link_;
    std::unique_ptr<testsupport::BackgroundProcess> process_;
};

// A path for a link or file unique to this test process: /tmp/<stem>-<pid>-<random number>.
std::string UniqueTempPath(const std::string& stem);

}  // namespace simtest
