#pragma once
// Ctrl-C and SIGTERM in the command-line tools. The first request lets the telegram or command
// on the line go out whole; the link then reads no further answers, so the operation ends the
// way a line failure ends it (its abort text, its log line, its files left whole, temporary
// files removed) and the port is put back when the tool closes it. A second request puts the
// port back and ends the tool at once.
namespace cli {

// Exit statuses after a stop request: 128 + the signal, as shells report it.
constexpr int kExitInterrupted = 130;  // SIGINT, Ctrl-C
constexpr int kExitTerminated = 143;   // SIGTERM

void InstallInterruptHandling();

// The command's status, or after a stop request a line saying so on standard error and
// kExitInterrupted / kExitTerminated.
int ExitStatusAfterStop(int status);

}  // namespace cli
