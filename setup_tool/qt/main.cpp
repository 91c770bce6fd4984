// skellig: sends a text display's setup and text pages, as a dialog program.
//   skellig [--port PATH]
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <memory>

#include "common/clock.h"
#include "link/platform_serial.h"
#include "qt_shared/text_only_application.h"
#include "qt_shared/user_text.h"
#include "setup_tool/qt/skellig_dlg.h"
#include "setup_tool/qt/skellig_settings.h"

int main(int argc, char** argv) {
    // --help and --version are answered without a display.
    std::unique_ptr<QCoreApplication> app = qtshared::MakeApplication(argc, argv);
    QCoreApplication::setOrganizationName(skellig::kSettingsCompany);
    QCoreApplication::setApplicationName(skellig::kSettingsProgram);

    QCommandLineParser parser;
    // A windowed program on Windows shows the help in a message box (the parser's own rule).
    parser.setApplicationDescription(
        QString("Sends a text display's setup and text pages.\nSettings are kept in %1.")
            .arg(qtshared::SettingsPlace(QCoreApplication::organizationName(),
                                         QCoreApplication::applicationName())));
    parser.addHelpOption();
    QCommandLineOption version("version", "Prints the program's version and ends.");
    parser.addOption(version);
    QCommandLineOption port(
        "port", "Use the serial port PATH instead of the USB-serial converter found.", "PATH");
    parser.addOption(port);
    parser.process(*app);
    if (parser.isSet(version)) {
        qtshared::ShowUserText(QCoreApplication::applicationName(),
                               QString("skellig %1\n").arg(SUITE_VERSION));
        return 0;
    }
    if (!qobject_cast<QApplication*>(app.get())) {  // "--help" given after "--"
        std::fprintf(stderr, "skellig: unexpected arguments\n");
        return 2;
    }

    common::RealClock clock;
    auto device = serial::MakeSerialDevice(clock);
    skellig::CSkelligDlg dialog(*device, parser.value(port));
    // No converter: the dialog closes again at once; its setting is written back unchanged.
    if (!dialog.Initialise()) return 1;
    dialog.exec();
    return 0;
}
