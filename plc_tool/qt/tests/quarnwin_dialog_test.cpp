// The main dialog against plcsim over a pseudo-terminal: start-up and settings, the status
// texts of Reset, the red error of a silent PLC, the speed change, the log and its saving,
// the About box, and the transfers and the variable display driven through their dialogs.
#include "plc_tool/qt/quarnwin_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "plc_tool/qt/tests/dialog_script.h"
#include "plc_tool/qt/tests/qt_test_support.h"

using quarnwin::CQuarnWinDlg;
using quarnwin::StatusLine;
using quarnwin::testing::DialogScript;
using quarnwin::testing::Plcsim;

class QuarnWinDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    QTemporaryDir work;
    quarnwin::testing::ShortWaitClock clock;
    QStringList logsShown;

    std::unique_ptr<CQuarnWinDlg> Dialog(const std::string& port) {
        quarnwin::QuarnWinOptions options;
        options.port = port;
        options.programFolder = work.path() + "/";
        options.clock = &clock;
        options.showLog = [this](const QString& file) { logsShown << file; };
        return std::make_unique<CQuarnWinDlg>(options);
    }
    // A dialog on the simulator, initialised and on the screen.
    std::unique_ptr<CQuarnWinDlg> Shown(const Plcsim& plc) {
        auto dialog = Dialog(plc.link);
        if (!dialog->Initialise()) return nullptr;
        dialog->show();
        if (!QTest::qWaitForWindowExposed(dialog.get())) return nullptr;
        return dialog;
    }
    static QStringList Texts(const QSignalSpy& spy) {
        QStringList texts;
        for (const auto& call : spy) texts << call.at(0).toString();
        return texts;
    }
    static QPushButton* Button(CQuarnWinDlg& dialog, const char* name) {
        return dialog.findChild<QPushButton*>(name);
    }
    // A value of the stored settings, as a fresh reader sees them.
    static QVariant Stored(const char* name) {
        QSettings store("Hadrel", "QuarnWin");
        return store.value(QString("Einstellungen/") + name);
    }

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir.isValid() && work.isValid());
        quarnwin::testing::KeepSettingsIn(settingsDir.path());
    }
    void init() {
        QSettings("Hadrel", "QuarnWin").clear();
        logsShown.clear();
    }

    void firstStartSelects9600AndEmptyPathsAndStoresThemOnlyAtTheEnd() {
        Plcsim plc;
        QVERIFY(plc.running());
        QFile log(work.path() + "/log.txt");
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write("an earlier run\n");
        log.close();
        {
            auto dialog = Shown(plc);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QString("Rilvo   V 4.0"));
            QCOMPARE(dialog->findChild<QComboBox*>("speed")->currentText(), QString("9600 Baud"));
            QCOMPARE(dialog->settings().pathDn, QString());
            QCOMPARE(dialog->settings().pathUp, QString());
            QCOMPARE(dialog->settings().pathVar, QString());
            QCOMPARE(dialog->findChild<QLabel*>("port")->toolTip(),
                     QString::fromStdString(plc.link));
            // The log is emptied at start.
            QCOMPARE(QFileInfo(dialog->logFile()).size(), 0);
            QVERIFY(QFileInfo::exists(dialog->logFile()));

            QTest::keyClick(dialog->findChild<QComboBox*>("speed"), Qt::Key_Down);
            QVERIFY(!Stored("Baudrate").isValid());
        }
        QCOMPARE(Stored("Baudrate").toInt(), 1);
        QCOMPARE(Stored("PathDn").toString(), QString());
        QVERIFY(Stored("PathDn").isValid());
        QVERIFY(Stored("PathUp").isValid());
        QVERIFY(Stored("PathVar").isValid());
        // The next start reads them.
        auto again = Shown(plc);
        QVERIFY(again);
        QCOMPARE(again->findChild<QComboBox*>("speed")->currentIndex(), 1);
        QVERIFY(again->session().fast());
    }

    // No converter: its message, then the port choice; cancelled, the program ends.
    void withoutAConverterTheProgramSaysSoAndEnds() {
        QTemporaryDir emptySys;
        quarnwin::QuarnWinOptions options;
        options.sysfsRoot = emptySys.path().toStdString();
        options.programFolder = work.path() + "/";
        options.clock = &clock;
        int asked = 0;
        options.askPort = [&](QWidget*, const QString&) -> std::optional<QString> {
            ++asked;
            return std::nullopt;
        };
        CQuarnWinDlg dialog(options);
        DialogScript script;
        script.Press(QMessageBox::Ok);
        QVERIFY(!dialog.Initialise());
        QCOMPARE(script.texts(), QStringList({"No USB Serial converter found\n"}));
        QCOMPARE(asked, 1);
        QVERIFY(!Stored("Port").isValid());
    }

    // The port named instead is used at once and kept for the next start, which then needs
    // no converter and asks nothing.
    void withoutAConverterANamedPortIsUsedAndKept() {
        Plcsim plc;
        QTemporaryDir emptySys;
        quarnwin::QuarnWinOptions options;
        options.sysfsRoot = emptySys.path().toStdString();
        options.programFolder = work.path() + "/";
        options.clock = &clock;
        QStringList proposed;
        options.askPort = [&](QWidget*, const QString& current) -> std::optional<QString> {
            proposed << current;
            return QString::fromStdString(plc.link);
        };
        {
            CQuarnWinDlg dialog(options);
            DialogScript script;
            script.Press(QMessageBox::Ok);
            QVERIFY(dialog.Initialise());
            QCOMPARE(Stored("Port").toString(), QString::fromStdString(plc.link));
            QCOMPARE(dialog.portName(), QString::fromStdString(plc.link));
            dialog.show();
            QSignalSpy drawn(&dialog.statusLine(), &StatusLine::drawn);
            Button(dialog, "reset")->click();
            QCOMPARE(Texts(drawn).last(), QString("Reseted"));
        }
        {
            CQuarnWinDlg again(options);
            QVERIFY(again.Initialise());
            QCOMPARE(proposed, QStringList({QString()}));
            QVERIFY(again.port().origin == qtshared::PortOrigin::Chosen);
            QCOMPARE(again.findChild<QLabel*>("portOrigin")->text(), QString("chosen with Port…"));
            QVERIFY(!again.findChild<QLabel*>("portOrigin")->isHidden());
        }

        // "Port…" back to the converter: the choice is emptied; with no converter the port
        // in use stays until the program ends.
        options.askPort = [](QWidget*, const QString&) { return std::optional<QString>(""); };
        CQuarnWinDlg third(options);
        QVERIFY(third.Initialise());
        DialogScript script;
        script.Press(QMessageBox::Ok);
        third.findChild<QAction*>("portAction")->trigger();
        QCOMPARE(script.texts(), QStringList({"No USB Serial converter found\n"}));
        QCOMPARE(Stored("Port").toString(), QString());
        QCOMPARE(third.portName(), QString::fromStdString(plc.link));
    }

    // A port given with --port is used as it is and not kept.
    void commandLinePortIsShownAsSuchAndNotKept() {
        Plcsim plc;
        auto dialog = Shown(plc);
        QVERIFY(dialog);
        QVERIFY(dialog->port().origin == qtshared::PortOrigin::CommandLine);
        QCOMPARE(dialog->findChild<QLabel*>("portOrigin")->text(), QString("given with --port"));
        dialog.reset();
        QVERIFY(!Stored("Port").isValid());
    }

    void resetShowsItsStatusTextsInOrder() {
        Plcsim plc({"--station", "2"});
        auto dialog = Shown(plc);
        QVERIFY(dialog);
        QSignalSpy drawn(&dialog->statusLine(), &StatusLine::drawn);
        Button(*dialog, "reset")->click();
        QCOMPARE(Texts(drawn), QStringList({"Scan SPS SP", "Scan SPS S0", "Scan SPS S1",
                                            "Scan SPS S2", "Reset", "Reseted"}));
        QCOMPARE(dialog->statusLine().lastPaintedColour(), QColor(0, 0, 0));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        // The settling wait after the reset was asked for.
        QVERIFY(std::count(clock.sleeps().begin(), clock.sleeps().end(), common::Millis(5000)) >=
                1);
        std::string telegrams = plc.Stop();
        QVERIFY2(telegrams.find("68 06 06 68 02 FF 04 24 00 00 29 16") != std::string::npos,
                 telegrams.c_str());
    }

    void aPlcThatFallsSilentGivesARedCommunicationErrorWithSound() {
        Plcsim plc({"--fault", "silent-after=1"});
        auto dialog = Shown(plc);
        QVERIFY(dialog);
        QSignalSpy drawn(&dialog->statusLine(), &StatusLine::drawn);
        Button(*dialog, "reset")->click();
        QCOMPARE(Texts(drawn), QStringList({"Scan SPS SP", "Reset", "Communication error"}));
        QCOMPARE(drawn.last().at(1).toInt(), int(StatusLine::Form::ErrorWithSound));
        QCOMPARE(dialog->statusLine().lastPaintedColour(), QColor(255, 0, 0));
        // Repainting the dialog turns the text black; it stays.
        dialog->repaint();
        QTRY_COMPARE(dialog->statusLine().lastPaintedColour(), QColor(0, 0, 0));
        QCOMPARE(dialog->statusLine().text(), QString("Communication error"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void aSpeedChangeMakesTheNextOperationSearchAgain() {
        Plcsim plc;
        auto dialog = Shown(plc);
        QVERIFY(dialog);
        QSignalSpy drawn(&dialog->statusLine(), &StatusLine::drawn);
        Button(*dialog, "reset")->click();
        Button(*dialog, "reset")->click();
        QCOMPARE(Texts(drawn).count("Scan SPS SP"), 1);
        QTest::keyClick(dialog->findChild<QComboBox*>("speed"), Qt::Key_Down);
        QVERIFY(dialog->session().fast());
        QVERIFY(!dialog->session().connection().Connected());
        QVERIFY(dialog->session().link().IsOpen());
        QCOMPARE(dialog->session().link().Settings().baud, 19200);
        drawn.clear();
        Button(*dialog, "reset")->click();
        QCOMPARE(Texts(drawn), QStringList({"Scan SPS SP", "Reset", "Reseted"}));
    }

    void initEepromAnsweredNoSendsNothing() {
        Plcsim plc;
        auto dialog = Shown(plc);
        QVERIFY(dialog);
        QSignalSpy drawn(&dialog->statusLine(), &StatusLine::drawn);
        DialogScript script;
        script.Press(QMessageBox::No);
        Button(*dialog, "initEeprom")->click();
        QCOMPARE(script.texts(), QStringList({"Are you sure ?"}));
        QCOMPARE(drawn.count(), 0);
        std::string telegrams = plc.Stop();
        QVERIFY2(telegrams.find("<-") == std::string::npos, telegrams.c_str());
    }

    void enterClicksTheFocusedButtonAndElsewhereEndsTheDialog() {
        Plcsim plc;
        auto dialog = Shown(plc);
        QVERIFY(dialog);
        QSignalSpy drawn(&dialog->statusLine(), &StatusLine::drawn);
        QPushButton* reset = Button(*dialog, "reset");
        reset->setFocus();
        QTest::keyClick(reset, Qt::Key_Return);
        QCOMPARE(Texts(drawn), QStringList({"Scan SPS SP", "Reset", "Reseted"}));
        QVERIFY(dialog->isVisible());

        // On the speed list Enter is the dialog's OK: the program ends, no offer to save.
        QSignalSpy finished(dialog.get(), &QDialog::finished);
        auto* speed = dialog->findChild<QComboBox*>("speed");
        speed->setFocus();
        QTest::keyClick(speed, Qt::Key_Return);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Accepted));
        QVERIFY(!dialog->isVisible());
    }

    void showLogOpensTheLogAndClosingOffersToSaveIt() {
        Plcsim plc;
        auto dialog = Shown(plc);
        QVERIFY(dialog);
        Button(*dialog, "showLog")->click();
        QCOMPARE(logsShown, QStringList({work.path() + "/log.txt"}));

        QFile log(dialog->logFile());
        QVERIFY(log.open(QIODevice::Append));
        log.write("Start download at today\r\n");
        log.close();
        const QString saved = work.path() + "/saved-log.txt";
        DialogScript script;
        script.Then([&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QString("Save log file "));
            auto* files = qobject_cast<QFileDialog*>(&d);
            if (!files) return script.Unexpected(d, "the save dialog");
            DialogScript::TypeFileName(*files, saved);
            d.accept();
        });
        dialog->close();
        QVERIFY(script.done());
        QVERIFY(!dialog->isVisible());
        QFile copy(saved);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("Start download at today\r\n"));

        // Cancelling the save dialog still closes.
        auto second = Shown(plc);
        QVERIFY(second);
        DialogScript cancel;
        cancel.ChooseFile(QString());
        second->close();
        QVERIFY(cancel.done());
        QVERIFY(!second->isVisible());
    }

    void theContextMenuOpensTheAboutBox() {
        Plcsim plc;
        auto dialog = Shown(plc);
        QVERIFY(dialog);
        auto* about = dialog->findChild<QAction*>("about");
        QVERIFY(about);
        QCOMPARE(about->text(), QString("Inf&o for Rilvo..."));
        DialogScript script;
        QStringList lines;
        script.Then([&](QDialog& d) {
            for (auto* label : d.findChildren<QLabel*>()) lines << label->text();
            d.accept();
        });
        about->trigger();
        QCOMPARE(script.titles(), QStringList({QString::fromUtf8("Info über Rilvo")}));
        QVERIFY(lines.contains("Rilvo Version 4.0"));
    }
};

QTEST_MAIN(QuarnWinDialogTest)
#include "quarnwin_dialog_test.moc"
