#pragma once
// What a dialog program says outside its dialog: the text of --help and --version and its
// usage errors.
#include <QString>

namespace qtshared {

// Shows a text the user asked for on the command line. On standard output when the program
// has one (a terminal, a pipe or a file); a windowed Windows program started from Explorer
// or a shortcut has none and shows it in a message box titled title instead.
void ShowUserText(const QString& title, const QString& text);
// The same for a command line that was not understood: standard error, or a warning box.
void ShowUsageError(const QString& title, const QString& text);

}  // namespace qtshared
