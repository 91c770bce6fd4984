#pragma once
// The paint pump of a status line: while an operation holds the user-interface thread, the
// windows get their waiting paint work done, and nothing else happens. User input and socket
// notifications stay queued. A close of the dialog (its close box, the window menu, Alt+F4)
// that comes in meanwhile is held back: it is carried out once the operation has ended, when
// the thread next waits for input with no other modal window up. A close let through in the
// middle of a transfer would ask its questions (or end the program) while the device is
// still talking.
#include <QWidget>

namespace qtshared {

// Dispatches the paint work waiting for the thread; `dialog` is the window the status line
// belongs to.
void DispatchPendingPaints(QWidget& dialog);

// For a nested loop that takes input of its own (the variables window's, which is modal):
// everything waiting is dispatched, but a close of `dialog` is held back the same way.
void DispatchPendingEvents(QWidget& dialog);

// True while a pump for `dialog` runs, that is while an operation holds the thread and lets
// the windows' waiting work through.
bool PumpRunning(const QWidget& dialog);

// True while a close of `dialog` is held back, for tests.
bool CloseHeldBack(const QWidget& dialog);

}  // namespace qtshared
