// quarnwin_screenshots: renders QuarnWin's windows against a running plcsim into PNG files,
// so their look can be reviewed: the main dialog (whose captions must all fit their
// controls), the folder dialog and the variables window with the PLC's live values.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <string>

#include "plc_tool/core/control_operations.h"
#include "plc_tool/core/show_variables.h"
#include "plc_tool/qt/caption_fit.h"
#include "plc_tool/qt/folder_dialog.h"
#include "plc_tool/qt/program_icon.h"
#include "plc_tool/qt/quarnwin_dialog.h"
#include "plc_tool/qt/variables_window.h"
#include "qt_shared/core_path.h"

namespace {

// Shows the window's pages; after a few pages with values, renders it and ends the display.
class CapturingViewer final : public monitor::VariableViewer {
  public:
    CapturingViewer(quarnwin::CVariablesWnd& window, QString file)
        : window_(window), file_(std::move(file)) {}
    void Pump(monitor::VariableDisplay& display) override { window_.Pump(display); }
    void Redraw(const monitor::DisplayPage& page, monitor::VariableDisplay& display) override {
        window_.Redraw(page, display);
        if (++pages_ == kPagesBeforeCapture) {
            saved_ = window_.grab().save(file_);
            display.Close();
        }
    }
    bool saved() const { return saved_; }

  private:
    static constexpr int kPagesBeforeCapture = 3;
    quarnwin::CVariablesWnd& window_;
    QString file_;
    int pages_ = 0;
    bool saved_ = false;
};

void Settle(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Save(QWidget& widget, const QString& file) {
    bool ok = widget.grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QString port, out, symbols, folder = QDir::homePath();
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--port")
            port = args[i + 1];
        else if (args[i] == "--out")
            out = args[i + 1];
        else if (args[i] == "--symbols")
            symbols = args[i + 1];
        else if (args[i] == "--folder")
            folder = args[i + 1];
    }
    if (port.isEmpty() || out.isEmpty() || symbols.isEmpty()) {
        std::fprintf(stderr,
                     "usage: quarnwin_screenshots --port LINK --out DIR --symbols FILE.ot "
                     "[--folder DIR]\n");
        return 2;
    }
    QDir().mkpath(out);
    QApplication::setWindowIcon(quarnwin::ProgramIcon());
    // Settings and log of a throw-away run.
    QTemporaryDir scratch;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratch.path());

    quarnwin::QuarnWinOptions options;
    options.port = port.toStdString();
    options.programFolder = scratch.path() + "/";
    quarnwin::CQuarnWinDlg dialog(options);
    if (!dialog.Initialise()) return 1;
    dialog.show();
    Settle(200);
    bool ok = quarnwin::RunConnectionCheck(dialog.session()) == quarnwin::Outcome::Done;
    ok &= Save(dialog, out + "/main_dialog.png");
    // Every caption whole with this machine's font: text width against control width.
    for (const QString& cut : quarnwin::CutCaptions(dialog)) {
        std::fprintf(stderr, "caption cut: %s\n", qPrintable(cut));
        ok = false;
    }

    quarnwin::CFolderDialog folders(folder, "Prokect file (*.pr)|*.pr|All Files (*.*)|*.*||",
                                    &dialog, dialog.frontend());
    folders.show();
    Settle(600);  // the browser lists the folder in the background
    ok &= Save(folders, out + "/folder_dialog.png");
    folders.hide();

    quarnwin::CVariablesWnd window(
        &dialog, quarnwin::ToQString(monitor::VariablesWindowTitle(symbols.toStdString())));
    window.show();
    CapturingViewer viewer(window, out + "/variables_window.png");
    quarnwin::RunShowVariables(dialog.session(), qtshared::ToFilesystemPath(symbols), viewer);
    std::printf("%s %s/variables_window.png\n", viewer.saved() ? "wrote" : "could not write",
                qPrintable(out));
    ok &= viewer.saved();
    return ok ? 0 : 1;
}
