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

int main(int argc, char** argv) {
    // --help and --version are answered without a display.
    std::unique_ptr<QCoreApplication> app = qtshared::MakeApplication(argc, argv);
    QCoreApplication::setOrganizationName(protocol::kSettingsCompany);
    QCoreApplication::setApplicationName(protocol::kSettingsProgram);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "The text display's protocol and statistics.\n"
        "Settings are kept in ~/.config/Hadrel/Vantor.conf.");
    parser.addHelpOption();
    QCommandLineOption version("version", "Prints the program's version and ends.");
    parser.addOption(version);
    QCommandLineOption port(
        "port", "Use the serial port PATH instead of the USB-serial converter found.", "PATH");
    parser.addOption(port);
    parser.process(*app);
    if (parser.isSet(version)) {
        std::printf("vantor %s\n", SUITE_VERSION);
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
