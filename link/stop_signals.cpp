#include "link/stop_signals.h"

#include <unistd.h>

#include <atomic>
#include <csignal>

namespace serial {

namespace {
// Set from the signal handler; only lock-free atomics may be shared with it.
volatile std::sig_atomic_t stopSignal = 0;
volatile std::sig_atomic_t secondEndsAtOnce = 0;
std::atomic<ImmediateEndAction> immediateEnd{nullptr};

extern "C" void OnStopSignal(int signal) {
    if (stopSignal != 0 && secondEndsAtOnce != 0) {
        if (ImmediateEndAction action = immediateEnd.load()) action();
        ::_exit(128 + signal);
    }
    if (stopSignal == 0) stopSignal = signal;
}
}  // namespace

void InstallStopSignals(SecondStop second) {
    secondEndsAtOnce = second == SecondStop::EndsAtOnce ? 1 : 0;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a blocked poll returns and sees the request
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() {
    return stopSignal != 0;
}

int StopSignal() {
    return stopSignal;
}

void RequestStop(int signal) {
    stopSignal = signal;
}

void ClearStopRequest() {
    stopSignal = 0;
}

void SetImmediateEndAction(ImmediateEndAction action) {
    immediateEnd.store(action);
}

static_assert(SIGINT == kInterruptSignal && SIGTERM == kTerminateSignal);

}  // namespace serial
