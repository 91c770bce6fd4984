// vantor: the text display's protocol and statistics, as a dialog program.
//   vantor [--port PATH]
#include <QApplication>
#include <QCommandLineParser>

#include "common/clock.h"
#include "link/platform_serial.h"
#include "protocol_tool/qt/vantor_dlg.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(protocol::kSettingsCompany);
    QApplication::setApplicationName(protocol::kSettingsProgram);

    QCommandLineParser parser;
    parser.setApplicationDescription("The text display's protocol and statistics.");
    parser.addHelpOption();
    QCommandLineOption port(
        "port", "Use the serial port PATH instead of the USB-serial converter found.", "PATH");
    parser.addOption(port);
    parser.process(app);

    common::RealClock clock;
    auto device = serial::MakeSerialDevice(clock);
    vantor::CVantorDlg dialog(*device, parser.value(port));
    if (!dialog.Initialise()) return 1;
    dialog.exec();
    return 0;
}
