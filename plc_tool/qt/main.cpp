// quarnwin: the PLC programming and monitoring dialog.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "plc_tool/qt/automation.h"
#include "plc_tool/qt/command_line.h"
#include "plc_tool/qt/program_icon.h"
#include "plc_tool/qt/quarnwin_dialog.h"
#include "plc_tool/qt/quarnwin_settings.h"
#include "qt_shared/user_text.h"

int main(int argc, char** argv) {
    // --help and --version need no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            qtshared::ShowUserText("QuarnWin", quarnwin::UsageText());
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            qtshared::ShowUserText("QuarnWin", quarnwin::VersionText());
            return 0;
        }
    }
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(quarnwin::QuarnWinSettings::kCompany);
    QCoreApplication::setApplicationName(quarnwin::QuarnWinSettings::kProgram);
    QApplication::setWindowIcon(quarnwin::ProgramIcon());

    std::vector<std::string> arguments;
    for (const QString& a : QCoreApplication::arguments().mid(1))
        arguments.push_back(a.toStdString());
    quarnwin::CommandLine line = quarnwin::ParseCommandLine(arguments);
    if (!line.error.empty()) {
        qtshared::ShowUsageError(
            "QuarnWin", QString("quarnwin: %1\n%2")
                            .arg(QString::fromStdString(line.error), quarnwin::UsageText()));
        return 2;
    }
    // The registration switches only change the automation entries.
    if (line.registerServer)
        return quarnwin::AutomationServer::RegisterActivation(
                   QCoreApplication::applicationFilePath())
                   ? 0
                   : 1;
    if (line.unregisterServer) return quarnwin::AutomationServer::RemoveActivation() ? 0 : 1;

    quarnwin::AutomationServer automation;
    if (line.automation)
        automation.Serve();
    else
        quarnwin::AutomationServer::RegisterActivation(QCoreApplication::applicationFilePath());

    quarnwin::QuarnWinOptions options;
    options.port = line.port;
    quarnwin::CQuarnWinDlg dialog(options);
    dialog.setAutomation(&automation);
    if (!dialog.Initialise()) return 0;

    // The program ends with the dialog; a dialog hidden for an automation client ends when
    // the last client lets go.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&dialog, &QDialog::finished, &app, &QCoreApplication::quit);
    dialog.show();
    return QApplication::exec();
}
