#pragma once
// SIGINT and SIGTERM (Ctrl-C, `kill`, a Linux desktop session ending; on Windows the console
// events of a program started from a console, which a windowed program has none of) in a
// dialog program: the same orderly end as the command-line tools'. The first request is
// noticed by the event loop; an operation under way is ended by the link as a line failure
// ends it (its abort text, its files left whole), a question or file dialog it has up is
// cancelled, and then the main dialog is ended as its own close would end it, so the
// settings are written and the port gets its old line settings back. A second request puts
// the port back and ends the program at once.
#include <QWidget>
#include <functional>

namespace qtshared {

// How often the event loop looks for a request.
inline constexpr int kStopPollMilliseconds = 200;

// Starts listening for the requests; `end` ends the main dialog (called once, from the
// event loop, with no operation running and no other modal window up).
void EndOnStopRequest(QWidget& dialog, std::function<void()> end);

// The program's exit status: `status`, or after a stop request a line saying so on
// standard error and 130 (SIGINT) / 143 (SIGTERM), as the command-line tools end.
int ExitStatusAfterStop(int status);

}  // namespace qtshared
