// Vantor.exe's dialog on Windows against a simulated display that the test script maps to a
// COM port: the new protocol entries retrieved into a folder whose name is not ASCII, then
// converted to a spreadsheet beside it. SUITE_TEST_PORT names the port, SUITE_TEST_OUT the
// folder the script compares afterwards.
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include "common/clock.h"
#include "link/platform_serial.h"
#include "protocol_tool/qt/protocol_dlg.h"
#include "protocol_tool/qt/vantor_dlg.h"

class VantorComPortTest : public QObject {
    Q_OBJECT

    QString port = qEnvironmentVariable("SUITE_TEST_PORT");
    QString out = QDir::fromNativeSeparators(qEnvironmentVariable("SUITE_TEST_OUT"));

  private slots:
    void retrievesAndConvertsTheProtocol() {
        if (port.isEmpty() || out.isEmpty()) QSKIP("SUITE_TEST_PORT and SUITE_TEST_OUT not set");
        const QString folder = out + QStringLiteral("/Jürgen");
        QVERIFY(QDir().mkpath(folder));
        const QString protocol = folder + "/may.pro";

        common::RealClock clock;
        auto device = serial::MakeSerialDevice(clock);
        vantor::CVantorDlg dialog(*device, port);
        vantor::FileDialogs files;
        files.saveProtocol = files.openProtocol = [&](QWidget*, const QString&) {
            return QDir::toNativeSeparators(protocol);
        };
        dialog.setFileDialogs(files);
        QVERIFY(dialog.Initialise());
        dialog.show();

        // The Protocol dialog asks for the new entries.
        QTimer answer;
        answer.setInterval(20);
        connect(&answer, &QTimer::timeout, this, [&] {
            auto* asked = qobject_cast<vantor::CProtocolDlg*>(QApplication::activeModalWidget());
            if (!asked) return;
            answer.stop();
            asked->findChild<QRadioButton*>("newProtocolEntries")->setChecked(true);
            QMetaObject::invokeMethod(
                asked->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                &QAbstractButton::click, Qt::QueuedConnection);
        });
        answer.start();
        dialog.getProtocol();
        QCOMPARE(dialog.statusLine().text(), QString("Ready"));
        QVERIFY(QFile::exists(protocol));

        dialog.convertProtocol();
        QCOMPARE(dialog.statusLine().text(), QString("Convert ready"));
        QVERIFY(QFile::exists(folder + "/may.xls"));
    }
};

QTEST_MAIN(VantorComPortTest)
#include "com_port_test.moc"
