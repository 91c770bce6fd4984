// QuarnWin.exe's dialog on Windows against a simulated PLC that the test script maps to a
// COM port: the sample project downloaded, uploaded into a new folder (by default one whose
// name is not ASCII), and the variables window shown. SUITE_TEST_PORT names the port ("com5"),
// SUITE_TEST_OUT the folder the script compares afterwards, SUITE_TEST_SAMPLES the samples; the
// settings stay in the registry for the script.
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "common/clock.h"
#include "plc_tool/qt/folder_dialog.h"
#include "plc_tool/qt/folder_field.h"
#include "plc_tool/qt/quarnwin_dialog.h"
#include "plc_tool/qt/tests/dialog_script.h"
#include "plc_tool/qt/variables_window.h"

using quarnwin::CQuarnWinDlg;
using quarnwin::testing::DialogScript;

class QuarnWinComPortTest : public QObject {
    Q_OBJECT

    QString port = qEnvironmentVariable("SUITE_TEST_PORT");
    QString out = QDir::fromNativeSeparators(qEnvironmentVariable("SUITE_TEST_OUT"));
    // The samples as a Windows path ("Z:\..." under Wine): the build's own path has no drive.
    QString samples = QDir::fromNativeSeparators(qEnvironmentVariable("SUITE_TEST_SAMPLES")) + "/";
    common::RealClock clock;  // the PLC's own pacing, as the program keeps it
    std::unique_ptr<CQuarnWinDlg> dialog;

  private slots:
    void initTestCase() {
        if (port.isEmpty() || out.isEmpty() || samples == "/")
            QSKIP("SUITE_TEST_PORT, SUITE_TEST_OUT and SUITE_TEST_SAMPLES not set");
        quarnwin::QuarnWinOptions options;
        options.port = port.toStdString();
        options.programFolder = out + "/";
        options.clock = &clock;
        dialog = std::make_unique<CQuarnWinDlg>(options);
        QVERIFY(dialog->Initialise());
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }

    void downloadsTheSampleProject() {
        const QString project = samples + "project/project.pr";
        DialogScript script;
        script.ChooseFile(project).Press(QMessageBox::Yes);
        dialog->findChild<QPushButton*>("download")->click();
        QVERIFY2(script.done() && script.errors().isEmpty(),
                 qPrintable(script.errors().join("\n")));
        QCOMPARE(dialog->statusLine().text(), QString("All Modules successfully downloaded"));
    }

    void uploadsIntoANewFolder() {
        // SUITE_TEST_UPLOAD may name another folder below SUITE_TEST_OUT.
        const QString name =
            qEnvironmentVariable("SUITE_TEST_UPLOAD", QStringLiteral("Jürgen/Проект"));
        const QString folder = out + "/" + name;
        const QString project = name.section('/', -1);
        DialogScript script;
        script
            .Then([&](QDialog& d) {
                auto* folders = qobject_cast<quarnwin::CFolderDialog*>(&d);
                if (!folders) return script.Unexpected(d, "the folder dialog");
                folders->folderField().setText(QDir::toNativeSeparators(folder));
                folders->openButton().click();
            })
            .Press(QMessageBox::Yes);
        dialog->findChild<QPushButton*>("upload")->click();
        QVERIFY2(script.done() && script.errors().isEmpty(),
                 qPrintable(script.errors().join("\n")));
        QCOMPARE(script.texts().size(), 1);
        QVERIFY2(
            script.texts()[0].endsWith("This folder does not exist.\n\nDo you want to create it?"),
            qPrintable(script.texts()[0]));
        QCOMPARE(dialog->statusLine().text(), QString("All Modules successfully uploaded"));
        // The folder dialog's result ends with the platform's separator.
        QCOMPARE(dialog->settings().pathUp, QDir::toNativeSeparators(folder) + "\\");
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
                 QStringList({"ALARMS.ob", "PUMPCTRL.ob", "STARTUP.ob", "TANKDATA.ob",
                              project + ".kb", project + ".pr"}));
    }

    void showsTheVariablesWindow() {
        const QString symbols = samples + "monitor/demo.ot";
        DialogScript script;
        script.ChooseFile(symbols);
        QTimer driver;
        QStringList firstPage;
        driver.setInterval(20);
        connect(&driver, &QTimer::timeout, this, [&] {
            auto* window = dialog->findChild<quarnwin::CVariablesWnd*>();
            if (!window || window->page().usedCells == 0 || window->paintedTexts().isEmpty())
                return;
            for (const QString& text : window->paintedTexts()) firstPage << text.trimmed();
            driver.stop();
            window->close();
        });
        driver.start();
        dialog->findChild<QPushButton*>("showVariables")->click();
        QVERIFY(script.done());
        QVERIFY2(!firstPage.isEmpty() && firstPage.front() == "Counter",
                 qPrintable(firstPage.join("|")));
        QCOMPARE(dialog->statusLine().text(), QString());
    }

    void cleanupTestCase() {
        dialog.reset();  // writes the settings into the registry
    }
};

QTEST_MAIN(QuarnWinComPortTest)
#include "com_port_test.moc"
