// skellig: sends a text display's setup and text pages, as a dialog program.
//   skellig [--port PATH]
#include <QApplication>
#include <QCommandLineParser>

#include "common/clock.h"
#include "link/platform_serial.h"
#include "setup_tool/qt/skellig_dlg.h"
#include "setup_tool/qt/skellig_settings.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(skellig::kSettingsCompany);
    QApplication::setApplicationName(skellig::kSettingsProgram);

    QCommandLineParser parser;
    parser.setApplicationDescription("Sends a text display's setup and text pages.");
    parser.addHelpOption();
    QCommandLineOption port(
        "port", "Use the serial port PATH instead of the USB-serial converter found.", "PATH");
    parser.addOption(port);
    parser.process(app);

    common::RealClock clock;
    auto device = serial::MakeSerialDevice(clock);
    skellig::CSkelligDlg dialog(*device, parser.value(port));
    // No converter: the dialog closes again at once; its setting is written back unchanged.
    if (!dialog.Initialise()) return 1;
    dialog.exec();
    return 0;
}
