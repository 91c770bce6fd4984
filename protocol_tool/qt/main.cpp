// vantor: the text display's protocol and statistics, as a dialog program.
//   vantor [--port PATH]
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <memory>

#include "common/clock.h"
#include "link/platform_serial.h"
#include "protocol_tool/qt/vantor_dlg.h"
#include "qt_shared/text_only_application.h"
#include "qt_shared/user_text.h"

int main(int argc, char** argv) {
    // --help and --version are answered without a display.
    std::unique_ptr<QCoreApplication> app = qtshared::MakeApplication(argc, argv);
    QCoreApplication::setOrganizationName(protocol::kSettingsCompany);
    QCoreApplication::setApplicationName(protocol::kSettingsProgram);

    QCommandLineParser parser;
    // A windowed program on Windows shows the help in a message box (the parser's own rule).
    parser.setApplicationDescription(
        QString("The text display's protocol and statistics.\nSettings are kept in %1.")
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
                               QString("vantor %1\n").arg(SUITE_VERSION));
        return 0;
    }
    if (!qobject_cast<QApplication*>(app.get())) {  // "--help" given after "--"
        std::fprintf(stderr, "vantor: unexpected arguments\n");
        return 2;
    }

    common::RealClock clock;
    auto device = serial::MakeSerialDevice(clock);
    vantor::CVantorDlg dialog(*device, parser.value(port));
    if (!dialog.Initialise()) return 1;
    dialog.exec();
    return 0;
}
