#include "qt_shared/dialog_start.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "qt_shared/graphical_desktop.h"
#include "qt_shared/user_text.h"

namespace qtshared {

namespace {

constexpr int kExitNoDesktop = 1;

// The program whose application object is being made, for the message handler below; set
// only while the constructor runs.
const DialogProgram* starting = nullptr;
QtMessageHandler toolkitHandler = nullptr;

// A display that is named but can't be reached (an X server gone, a wrong DISPLAY) makes the
// toolkit give up inside the application's constructor with a fatal message and an abort.
// Say instead what the program needs, and end with the status of a refused start.
void OnToolkitMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg && starting && text.contains("platform plugin")) {
        const std::string message = NoDesktopMessage(*starting);
        std::fputs(message.c_str(), stderr);
        std::fflush(stderr);
        std::_Exit(kExitNoDesktop);
    }
    if (toolkitHandler) toolkitHandler(type, context, text);
}

// Shows a command-line text: `out` on standard output, `err` on standard error, or in a
// message box where the program has neither (a windowed program on Windows).
void ShowCommandLineText(const DialogProgram& program, const std::string& out,
                         const std::string& err) {
    const QString title = QString::fromUtf8(program.settingsName);
    if (!out.empty()) ShowUserText(title, QString::fromStdString(out));
    if (!err.empty()) ShowUsageError(title, QString::fromStdString(err));
}

}  // namespace

DialogStart StartDialogProgram(int& argc, char** argv, const DialogProgram& program) {
    DialogStart start;
    start.arguments =
        ParseDialogArguments(program, std::vector<std::string>(argv + 1, argv + argc));
    if (start.arguments.exitStatus) {
        ShowCommandLineText(program, start.arguments.out, start.arguments.err);
        start.exitStatus = *start.arguments.exitStatus;
        return start;
    }
    if (!CanShowWindows(start.arguments.platform, ProcessEnvironment())) {
        ShowCommandLineText(program, "", NoDesktopMessage(program));
        start.exitStatus = kExitNoDesktop;
        return start;
    }
    QCoreApplication::setOrganizationName(program.company);
    QCoreApplication::setApplicationName(program.settingsName);
    starting = &program;
    toolkitHandler = qInstallMessageHandler(OnToolkitMessage);
    start.app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(toolkitHandler);
    starting = nullptr;
    return start;
}

}  // namespace qtshared
