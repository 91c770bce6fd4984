#include "cli/interrupt.h"

#include <cstdio>

#include "link/stop_signals.h"

namespace cli {

void InstallInterruptHandling() {
    serial::InstallStopSignals(serial::SecondStop::EndsAtOnce);
}

int ExitStatusAfterStop(int status) {
    switch (serial::StopSignal()) {
        case serial::kInterruptSignal:
            std::fputs("Stopped by Ctrl-C (SIGINT)\n", stderr);
            return kExitInterrupted;
        case serial::kTerminateSignal:
            std::fputs("Stopped by SIGTERM\n", stderr);
            return kExitTerminated;
        default:
            return status;
    }
}

}  // namespace cli
