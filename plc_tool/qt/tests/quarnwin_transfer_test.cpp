// The transfers and the variable display of the main dialog against plcsim, driven through
// their dialogs as the technician would: the sample project downloaded and uploaded into a
// new folder, and the variables window paging through the sample symbol file.
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "plc_tool/qt/folder_dialog.h"
#include "plc_tool/qt/folder_field.h"
#include "plc_tool/qt/quarnwin_dialog.h"
#include "plc_tool/qt/tests/dialog_script.h"
#include "plc_tool/qt/tests/qt_test_support.h"
#include "plc_tool/qt/variables_window.h"

using quarnwin::CQuarnWinDlg;
using quarnwin::StatusLine;
using quarnwin::testing::DialogScript;
using quarnwin::testing::Plcsim;

namespace {

const QString kSamples = QStringLiteral(SAMPLES_DIR "/");

QStringList Trimmed(const QStringList& texts) {
    QStringList out;
    for (const QString& t : texts) out << t.trimmed();
    return out;
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Calls step every 20 ms while it returns false.
void Every20ms(QTimer& timer, std::function<bool()> step) {
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&timer, step] {
        if (step()) timer.stop();
    });
    timer.start();
}

}  // namespace

class QuarnWinTransferTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    QTemporaryDir work;
    quarnwin::testing::ShortWaitClock clock;

    std::unique_ptr<CQuarnWinDlg> Shown(const Plcsim& plc) {
        quarnwin::QuarnWinOptions options;
        options.port = plc.link;
        options.programFolder = work.path() + "/";
        options.clock = &clock;
        auto dialog = std::make_unique<CQuarnWinDlg>(options);
        if (!dialog->Initialise()) return nullptr;
        dialog->show();
        if (!QTest::qWaitForWindowExposed(dialog.get())) return nullptr;
        return dialog;
    }

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir.isValid() && work.isValid());
        quarnwin::testing::KeepSettingsIn(settingsDir.path());
        QVERIFY(QFile::exists(kSamples + "project/project.pr"));
    }

    void downloadAndUploadThroughTheirDialogs() {
        Plcsim plc;
        QVERIFY(plc.running());
        auto dialog = Shown(plc);
        QVERIFY(dialog);
        QSignalSpy drawn(&dialog->statusLine(), &StatusLine::drawn);

        const QString project = kSamples + "project/project.pr";
        DialogScript download;
        download.ChooseFile(project).Press(QMessageBox::Yes);
        dialog->findChild<QPushButton*>("download")->click();
        QVERIFY2(download.done(), qPrintable(download.titles().join(", ")));
        QVERIFY2(download.errors().isEmpty(), qPrintable(download.errors().join("\n")));
        QCOMPARE(download.texts(), QStringList({"Download the configuration file " + kSamples +
                                                "project/project.kb"}));
        QCOMPARE(dialog->statusLine().text(), QString("All Modules successfully downloaded"));
        QCOMPARE(dialog->settings().pathDn, project);

        // Into a folder that does not exist yet: the folder dialog offers to create it.
        const QString folder = work.path() + "/uploads/tank";
        DialogScript upload;
        upload
            .Then([&](QDialog& d) {
                auto* folders = qobject_cast<quarnwin::CFolderDialog*>(&d);
                if (!folders) return upload.Unexpected(d, "the folder dialog");
                folders->folderField().setText(folder);
                folders->openButton().click();
            })
            .Press(QMessageBox::Yes);
        dialog->findChild<QPushButton*>("upload")->click();
        QVERIFY(upload.done());
        QVERIFY2(upload.errors().isEmpty(), qPrintable(upload.errors().join("\n")));
        QCOMPARE(dialog->statusLine().text(), QString("All Modules successfully uploaded"));
        QCOMPARE(dialog->settings().pathUp, folder + "/");
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
                 QStringList({"ALARMS.ob", "PUMPCTRL.ob", "STARTUP.ob", "TANKDATA.ob", "tank.kb",
                              "tank.pr"}));
        QCOMPARE(Read(folder + "/tank.kb"), Read(kSamples + "project/project.kb"));
        // The directory read before the upload found the project the download wrote.
        QCOMPARE(dialog->windowTitle(), QString("TANK PLANT 7"));

        // Progress lines came while the transfers ran; the log holds both transfers.
        bool progress = false;
        for (const auto& call : drawn)
            progress |= call.at(0).toString().endsWith("Bytes transfered");
        QVERIFY(progress);
        const QByteArray log = Read(dialog->logFile());
        QVERIFY2(log.contains("Start download at ") && log.contains("\tALARMS.ob\t ok\r\n") &&
                     log.contains("All Modules successfully downloaded at ") &&
                     log.contains("Start upload at ") && log.contains("\ttank/tank.kb\tok\r\n"),
                 log.constData());
        QVERIFY(log.indexOf("Start download") < log.indexOf("Start upload"));
    }

    void aCloseDuringADownloadWaitsUntilTheDownloadHasEnded() {
        Plcsim plc;
        auto dialog = Shown(plc);
        QVERIFY(dialog);
        // The close box is clicked while the first progress line is on the screen.
        bool closeSent = false;
        connect(&dialog->statusLine(), &StatusLine::drawn, this, [&](const QString& text) {
            if (closeSent || !text.endsWith("Bytes transfered")) return;
            closeSent = true;
            QMetaObject::invokeMethod(
                dialog.get(), [&] { dialog->close(); }, Qt::QueuedConnection);
        });
        QString statusAtSaveLog;
        DialogScript script;
        script.ChooseFile(kSamples + "project/project.pr")
            .Press(QMessageBox::Yes)
            .Then([&](QDialog& d) {
                statusAtSaveLog = d.windowTitle() + "|" + dialog->statusLine().text();
                d.reject();
            });
        dialog->findChild<QPushButton*>("download")->click();
        QVERIFY(closeSent);
        QCOMPARE(dialog->statusLine().text(), QString("All Modules successfully downloaded"));
        QVERIFY(dialog->isVisible());
        // Back in the dialog's own loop, the close goes on: first the offer to save the log.
        QEventLoop idle;
        QTimer::singleShot(5000, &idle, &QEventLoop::quit);
        connect(dialog.get(), &QDialog::finished, &idle, &QEventLoop::quit);
        idle.exec();
        QVERIFY2(script.done() && script.errors().isEmpty(),
                 qPrintable(script.errors().join("\n")));
        QCOMPARE(statusAtSaveLog, QString("Save log file |All Modules successfully downloaded"));
        QVERIFY(!dialog->isVisible());
    }

    void aPlcFallingSilentAbortsTheDownloadInRed() {
        // The station search, identification and information block are answered; the
        // directory read is not.
        Plcsim plc({"--fault", "silent-after=3"});
        auto dialog = Shown(plc);
        QVERIFY(dialog);
        QSignalSpy drawn(&dialog->statusLine(), &StatusLine::drawn);
        DialogScript script;
        script.ChooseFile(kSamples + "project/project.pr");
        dialog->findChild<QPushButton*>("download")->click();
        QVERIFY(script.done());
        QCOMPARE(dialog->statusLine().text(),
                 QString("PC->Quarn download aborted, please restart download"));
        QCOMPARE(drawn.last().at(1).toInt(), int(StatusLine::Form::ErrorWithSound));
        QCOMPARE(dialog->statusLine().lastPaintedColour(), QColor(255, 0, 0));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        const std::string telegrams = plc.Stop();
        QVERIFY2(telegrams.find("FF 04 42") == std::string::npos, telegrams.c_str());
    }

    void theVariablesWindowShowsPagesAndPagesWithTheKeys() {
        Plcsim plc;
        auto dialog = Shown(plc);
        QVERIFY(dialog);
        const QString symbols = kSamples + "monitor/demo.ot";
        DialogScript script;
        bool windowGoneAtSaveLog = false;
        script.ChooseFile(symbols).Then([&](QDialog& d) {
            windowGoneAtSaveLog = !dialog->findChild<quarnwin::CVariablesWnd*>();
            d.reject();
        });

        // While the display runs: note the first page, press Cursor Down, note the page it
        // leads to, then close the window.
        QTimer driver;
        quarnwin::CVariablesWnd* window = nullptr;
        QStringList firstPage, secondPage;
        QString title;
        bool modal = false;
        int stage = 0;
        Every20ms(driver, [&] {
            if (!window) window = dialog->findChild<quarnwin::CVariablesWnd*>();
            if (!window || window->page().usedCells == 0) return false;
            if (stage == 0) {
                firstPage = Trimmed(window->paintedTexts());
                title = window->windowTitle();
                modal = QApplication::activeModalWidget() == window;
                // The main dialog's close waits until the display has ended.
                QMetaObject::invokeMethod(
                    dialog.get(), [&] { dialog->close(); }, Qt::QueuedConnection);
                QTest::keyClick(window, Qt::Key_Down);
                stage = 1;
            } else if (stage == 1 && !window->paintedTexts().isEmpty() &&
                       window->paintedTexts().front().trimmed() != firstPage.value(0)) {
                // The values change from page to page; the page moved when its first
                // symbol did.
                secondPage = Trimmed(window->paintedTexts());
                window->close();
                return true;
            }
            return false;
        });
        dialog->findChild<QPushButton*>("showVariables")->click();
        QVERIFY(dialog->isVisible());
        QEventLoop idle;
        QTimer::singleShot(5000, &idle, &QEventLoop::quit);
        connect(dialog.get(), &QDialog::finished, &idle, &QEventLoop::quit);
        idle.exec();

        QVERIFY(script.done());
        QVERIFY(windowGoneAtSaveLog);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(title, symbols + "   Navigate with: Up,Dn,PgUp,PgDn");
        QVERIFY(modal);
        // The first page starts with Counter; eight variables further on comes Inputs.
        QVERIFY2(!firstPage.isEmpty() && firstPage.front() == "Counter",
                 qPrintable(firstPage.join("|")));
        QVERIFY2(firstPage.contains("Blink") && firstPage.contains("Spare"),
                 qPrintable(firstPage.join("|")));
        QVERIFY2(!secondPage.isEmpty() && secondPage.front() == "Inputs",
                 qPrintable(secondPage.join("|")));
        // Closing ended the loop: the window is gone, the status line empty.
        QVERIFY(!dialog->findChild<quarnwin::CVariablesWnd*>());
        QCOMPARE(dialog->statusLine().text(), QString());
        QCOMPARE(dialog->settings().pathVar, symbols);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }
};

QTEST_MAIN(QuarnWinTransferTest)
#include "quarnwin_transfer_test.moc"
