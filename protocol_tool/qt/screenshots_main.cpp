// vantor_screenshots OUTDIR: renders the main dialog (with a status text), the Protocol
// dialog and the About box into OUTDIR as vantor-main.png, vantor-protocol.png and
// vantor-about.png. Runs on any Qt platform, offscreen included; touches no port and no
// stored settings.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "common/clock.h"
#include "link/scripted_device.h"
#include "protocol_tool/qt/about_dlg.h"
#include "protocol_tool/qt/protocol_dlg.h"
#include "protocol_tool/qt/vantor_dlg.h"

namespace {
bool Save(QWidget& widget, const QDir& folder, const char* name) {
    widget.show();
    widget.adjustSize();
    QApplication::processEvents();
    return widget.grab().save(folder.filePath(name));
}
}  // namespace

int main(int argc, char** argv) {
    // The settings go to a folder of their own, so the user's stay as they are.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Usage: vantor_screenshots OUTDIR\n");
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(".")) return 1;

    common::FakeClock clock;
    serial::ScriptedDevice device(clock);
    vantor::CVantorDlg dialog(device, "ttyUSB0");
    dialog.Initialise();
    dialog.reader().Status().Set("Coming    17    12.03.08    06:20:45  Q");
    vantor::CProtocolDlg protocolDialog(protocol::ProtocolChoice{}, &dialog);
    vantor::AboutDlg about(dialog.windowIcon(), &dialog);
    bool saved = Save(dialog, folder, "vantor-main.png");
    saved = Save(protocolDialog, folder, "vantor-protocol.png") && saved;
    saved = Save(about, folder, "vantor-about.png") && saved;
    return saved ? 0 : 1;
}
