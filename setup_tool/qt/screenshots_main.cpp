// skellig_screenshots OUTDIR: renders the main dialog (with a status text) and the
// "Time / Date" dialog, filled as the clock step fills it, into OUTDIR as skellig-main.png
// and skellig-time-date.png. Runs on any Qt platform, offscreen included; touches no port and
// no stored settings.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

#include "common/clock.h"
#include "link/scripted_device.h"
#include "setup_tool/core/text_pages.h"
#include "setup_tool/qt/skellig_dlg.h"
#include "setup_tool/qt/time_date_dlg.h"

namespace {
bool Save(QWidget& widget, const QDir& folder, const char* name) {
    widget.show();
    widget.adjustSize();
    QApplication::processEvents();
    const bool ok = widget.grab().save(folder.filePath(name));
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(folder.filePath(name)));
    return ok;
}
}  // namespace

int main(int argc, char** argv) {
    // The settings go to a folder of their own, so the user's stay as they are.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Usage: skellig_screenshots OUTDIR\n");
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(".")) return 1;

    common::FakeClock clock;
    serial::ScriptedDevice device(clock);
    skellig::CSkelligDlg dialog(device, "ttyUSB0");
    dialog.Initialise();
    if (auto* status = dialog.findChild<skellig::StatusLineWidget*>("statusLine"))
        status->showText(QString::fromStdString(setup::TextPageStatus(12)));
    skellig::CTimeDateDlg timeDate(&dialog);
    timeDate.setEntry(setup::PrefilledEntry({2024, 3, 7, 9, 5, 3}));
    bool saved = Save(dialog, folder, "skellig-main.png");
    saved = Save(timeDate, folder, "skellig-time-date.png") && saved;
    return saved ? 0 : 1;
}
