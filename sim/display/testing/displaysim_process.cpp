#include "sim/display/testing/displaysim_process.h"

#include <unistd.h>

#include <filesystem>
#include <random>

namespace simtest {

DisplaySimProcess::DisplaySimProcess(std::string program, std::string link,
                                     std::vector<std::string> arguments)
    : link_(std::move(link)) {
    std::error_code ec;
    std::filesystem::remove(link_, ec);
    arguments.insert(arguments.begin(), {"--link", link_});
    process_ = std::make_unique<testsupport::BackgroundProcess>(program, arguments);
}

bool DisplaySimProcess::waitReady(std::chrono::milliseconds timeout) {
    return process_->waitForPath(link_, static_cast<int>(timeout.count()));
}

int DisplaySimProcess::stop() {
    return process_->stop();
}

std::string UniqueTempPath(const std::string& stem) {
    std::random_device random;
    return "/tmp/" + stem + "-" + std::to_string(::getpid()) + "-" + std::to_string(random());
}

}  // namespace simtest
