// quarnwin: the PLC programming and monitoring dialog.
//   quarnwin [--help] [--version] [--port PORT] [--automation]
#include <QApplication>

#include "plc_tool/qt/automation.h"
#include "plc_tool/qt/log_notes.h"
#include "plc_tool/qt/program_icon.h"
#include "plc_tool/qt/quarnwin_dialog.h"
#include "plc_tool/qt/quarnwin_settings.h"
#include "qt_shared/dialog_start.h"
#include "qt_shared/stop_requests.h"

int main(int argc, char** argv) {
    const qtshared::DialogProgram program{"quarnwin",
                                          "quarnctl",
                                          "Programs and monitors a Quarn PLC over a serial line.",
                                          quarnwin::QuarnWinSettings::kCompany,
                                          quarnwin::QuarnWinSettings::kProgram,
                                          true,
                                          quarnwin::LogNotes()};
    qtshared::DialogStart start = qtshared::StartDialogProgram(argc, argv, program);
    if (!start.app) return start.exitStatus;
    // The registration switches only change the automation entries.
    if (start.arguments.registerServer)
        return quarnwin::AutomationServer::RegisterActivation(
                   QCoreApplication::applicationFilePath())
                   ? 0
                   : 1;
    if (start.arguments.unregisterServer)
        return quarnwin::AutomationServer::RemoveActivation() ? 0 : 1;
    QApplication::setWindowIcon(quarnwin::ProgramIcon());

    quarnwin::AutomationServer automation;
    if (start.arguments.automation)
        automation.Serve();
    else
        quarnwin::AutomationServer::RegisterActivation(QCoreApplication::applicationFilePath());

    quarnwin::QuarnWinOptions options;
    options.port = start.arguments.port;
    quarnwin::CQuarnWinDlg dialog(options);
    dialog.setAutomation(&automation);
    qtshared::EndOnStopRequest(dialog, [&dialog] { dialog.EndOnStop(); });
    if (!dialog.Initialise()) return qtshared::ExitStatusAfterStop(0);

    // The program ends with the dialog; a dialog hidden for an automation client ends when
    // the last client lets go.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&dialog, &QDialog::finished, start.app.get(), &QCoreApplication::quit);
    dialog.show();
    return qtshared::ExitStatusAfterStop(QApplication::exec());
}
