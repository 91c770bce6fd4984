#pragma once
// The start of a dialog program, before its main dialog: the command line (--help,
// --version and usage errors need no display), the check for a graphical desktop, and the
// application object with the settings' company and program name.
#include <QApplication>
#include <memory>
#include <string>

#include "qt_shared/dialog_command_line.h"

namespace qtshared {

struct DialogStart {
    // Null: the program ends at once with exitStatus (help, version, a usage error, or no
    // graphical desktop; what it had to say has been written).
    std::unique_ptr<QApplication> app;
    int exitStatus = 0;
    DialogArguments arguments;
};

// argc must outlive the application (Qt keeps a reference to it).
DialogStart StartDialogProgram(int& argc, char** argv, const DialogProgram& program);

}  // namespace qtshared
