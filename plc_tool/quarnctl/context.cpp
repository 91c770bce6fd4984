#include "plc_tool/quarnctl/context.h"

#include <cstdio>

namespace quarnctl {

Context::Context(GlobalOptions options)
    : options_(std::move(options)), frontend_(options_.yes), ports_(clock_, options_.trace) {}

bool Context::Connect() {
    if (session_) return true;
    std::string port = cli::ChoosePort(options_.port, frontend_, options_.sysfsRoot);
    if (port.empty()) return false;
    session_ = std::make_unique<quarnwin::QuarnSession>(ports_.device(), clock_, frontend_);
    if (options_.station >= 0) {
        session_->connection().UseStation(static_cast<std::uint8_t>(options_.station));
    } else {
        session_->connection().OnSearchFound([](std::uint8_t station) {
            std::fprintf(stderr, "The PLC answered at station %d; --station %d skips the search.\n",
                         station, station);
        });
    }
    if (!session_->Open(port, options_.fast)) {
        const std::string why = session_->link().OpenFailureText();
        if (!why.empty()) std::fprintf(stderr, "Cannot open the serial port: %s\n", why.c_str());
        return false;
    }
    return true;
}

int ExitStatus(quarnwin::Outcome outcome) {
    return outcome == quarnwin::Outcome::Done ? cli::kExitOk : cli::kExitFailed;
}

}  // namespace quarnctl
