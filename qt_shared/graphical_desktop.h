#pragma once
// Whether a dialog program can show its windows: a graphical desktop to draw on, or a
// platform that needs none (offscreen, for tests and screenshots). Asked before the
// application object is made, so a program started on a console or over SSH says what it
// needs instead of ending with the toolkit's plugin failure.
#include <functional>
#include <string>

#include "qt_shared/dialog_command_line.h"

namespace qtshared {

// The environment variable of that name, or nullptr when it is not set.
using EnvironmentLookup = std::function<const char*(const char* name)>;

// platformOption: the -platform value given on the command line, empty when none. Without
// it QT_QPA_PLATFORM names the platform; without either, the desktop's own (X11 or Wayland).
bool CanShowWindows(const std::string& platformOption, const EnvironmentLookup& environment);

// The process's own environment.
EnvironmentLookup ProcessEnvironment();

// What the program says where it can't show its windows.
std::string NoDesktopMessage(const DialogProgram& program);

}  // namespace qtshared
