#pragma once
// Stop requests from the user: SIGINT (Ctrl-C) and SIGTERM, or the console's Ctrl-C, Ctrl-Break
// and close events on Windows. The first request is only remembered, so the operation on the
// line can end the way a line failure ends it (its abort text, its files left whole, the port
// put back); the link reads no further answers once it is set. A tool may ask for a second
// request to end the program at once.
namespace serial {

// The signal numbers a stop is reported with, on every platform.
inline constexpr int kInterruptSignal = 2;   // SIGINT, Ctrl-C
inline constexpr int kTerminateSignal = 15;  // SIGTERM, the console closed

enum class SecondStop {
    Remembered,  // every request is only remembered (the simulators end their loop)
    EndsAtOnce,  // the second request puts the port back and ends the program at once
};

void InstallStopSignals(SecondStop second = SecondStop::Remembered);
bool StopRequested();
// The signal of the first request (kInterruptSignal or kTerminateSignal), 0 when none came.
int StopSignal();
// For tests: as if the signal had come, and forgetting it again.
void RequestStop(int signal);
void ClearStopRequest();

// Called by a second request before the program ends at once. It runs inside the signal
// handler, so it may only make async-signal-safe calls (the port device puts its old line
// settings back with one tcsetattr).
using ImmediateEndAction = void (*)();
void SetImmediateEndAction(ImmediateEndAction action);

}  // namespace serial
