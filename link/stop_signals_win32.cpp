// Stop requests on Windows: the console's control events, which arrive on a thread of their
// own while the operation runs on the main thread.
#include <windows.h>

#include <atomic>

#include "link/stop_signals.h"

namespace serial {

namespace {
std::atomic<int> stopSignal{0};
std::atomic<bool> secondEndsAtOnce{false};
std::atomic<ImmediateEndAction> immediateEnd{nullptr};

int SignalFor(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            return kInterruptSignal;
        default:  // the console is closed, the user logs off, the system shuts down
            return kTerminateSignal;
    }
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
    const int signal = SignalFor(event);
    int none = 0;
    if (!stopSignal.compare_exchange_strong(none, signal) && secondEndsAtOnce.load()) {
        if (ImmediateEndAction action = immediateEnd.load()) action();
        ::ExitProcess(static_cast<UINT>(128 + signal));
    }
    // Handled: the main thread ends the operation. (After a close event Windows ends the
    // process itself a few seconds later.)
    return TRUE;
}
}  // namespace

void InstallStopSignals(SecondStop second) {
    secondEndsAtOnce.store(second == SecondStop::EndsAtOnce);
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool StopRequested() {
    return stopSignal.load() != 0;
}

int StopSignal() {
    return stopSignal.load();
}

void RequestStop(int signal) {
    stopSignal.store(signal);
}

void ClearStopRequest() {
    stopSignal.store(0);
}

void SetImmediateEndAction(ImmediateEndAction action) {
    immediateEnd.store(action);
}

}  // namespace serial
