// Skellig.exe's dialog on Windows against a simulated display that the test script maps to a
// COM port: the sample setup, kept in a folder whose name is not ASCII, sent with the time
// dialog answered. SUITE_TEST_PORT names the port; SUITE_TEST_OUT holds the sample's copy
// in "Jürgen" (the script compares what the display received).
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "common/clock.h"
#include "link/platform_serial.h"
#include "setup_tool/qt/skellig_dlg.h"
#include "setup_tool/qt/skellig_settings.h"

class SkelligComPortTest : public QObject {
    Q_OBJECT

    QString port = qEnvironmentVariable("SUITE_TEST_PORT");
    QString out = QDir::fromNativeSeparators(qEnvironmentVariable("SUITE_TEST_OUT"));

  private slots:
    void sendsTheSampleSetup() {
        if (port.isEmpty() || out.isEmpty()) QSKIP("SUITE_TEST_PORT and SUITE_TEST_OUT not set");
        const QString text = QDir::toNativeSeparators(out + QStringLiteral("/Jürgen/anlage.txt"));
        QVERIFY(QFile::exists(text));

        common::RealClock clock;
        auto device = serial::MakeSerialDevice(clock);
        auto dialog = std::make_unique<skellig::CSkelligDlg>(*device, port);
        QVERIFY(dialog->Initialise());
        dialog->setTextFileChooser([&](QWidget*, const QString&) { return text; });
        dialog->show();

        // The time dialog: the values the script's reference run sends too.
        QTimer answer;
        answer.setInterval(20);
        connect(&answer, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal->objectName() != "timeDateDialog") return;
            answer.stop();
            const std::pair<const char*, const char*> fields[] = {
                {"hours", "09"}, {"minutes", "05"}, {"seconds", "03"},
                {"day", "7"},    {"month", "03"},   {"year", "2024"}};
            for (const auto& [name, value] : fields)
                modal->findChild<QLineEdit*>(name)->setText(value);
            modal->findChild<QComboBox*>("daylightSaving")->setCurrentIndex(1);
            static_cast<QDialog*>(modal)->accept();
        });
        answer.start();
        QTest::mouseClick(dialog->findChild<QPushButton*>("sendButton"), Qt::LeftButton);
        QCOMPARE(dialog->statusLine().text(), QString("Ready"));
        dialog.reset();  // the setting is written when the dialog goes
        QCOMPARE(QDir::toNativeSeparators(skellig::LoadPathVyn()), text);
    }
};

QTEST_MAIN(SkelligComPortTest)
#include "com_port_test.moc"
