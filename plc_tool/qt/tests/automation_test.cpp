// The automation layer on a private session bus (the test runs under dbus-run-session when
// that is installed; without a bus it is skipped): clients create and release the
// application object, a client that leaves the bus lets go, and the main dialog hides
// instead of closing while the object is held.
#include "plc_tool/qt/automation.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "plc_tool/qt/quarnwin_dialog.h"
#include "plc_tool/qt/tests/dialog_script.h"
#include "plc_tool/qt/tests/qt_test_support.h"
#include "qt_shared/dialog_command_line.h"

using quarnwin::AutomationServer;

namespace {

// True when QuarnWin's command line (the arguments after its name) is an automation start.
bool AutomationStart(const std::vector<std::string>& arguments) {
    const qtshared::DialogProgram program{"quarnwin",     "quarnctl", "", "HadrelTest",
                                          "QuarnWinTest", true,       ""};
    return qtshared::ParseDialogArguments(program, arguments).automation;
}

// A client on its own connection to the session bus.
struct Client {
    QString name;
    QDBusConnection bus;
    explicit Client(const QString& n)
        : name(n), bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, n)) {}
    ~Client() { QDBusConnection::disconnectFromBus(name); }
    // Calls the factory; the server answers from this same process, so the wait runs the
    // event loop.
    QDBusMessage Call(const char* method) {
        return bus.call(QDBusMessage::createMethodCall(AutomationServer::kServiceName,
                                                       AutomationServer::kFactoryPath,
                                                       AutomationServer::kFactoryInterface, method),
                        QDBus::BlockWithGui);
    }
};

}  // namespace

class AutomationTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        if (!AutomationServer::BusAvailable()) QSKIP("no D-Bus session bus");
    }

    void startSwitches() {
        QVERIFY(AutomationStart({"-Embedding"}));
        QVERIFY(AutomationStart({"/Automation"}));
        QVERIFY(AutomationStart({"--automation"}));
        QVERIFY(!AutomationStart({"--port", "x"}));
    }

    void aNormalStartWritesTheActivationEntry() {
        QTemporaryDir services;
        QVERIFY(AutomationServer::RegisterActivation("/opt/q/quarnwin", services.path()));
        QFile entry(services.path() + "/QuarnWin.Application.service");
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QCOMPARE(entry.readAll(), QByteArray("[D-BUS Service]\nName=QuarnWin.Application\n"
                                             "Exec=\"/opt/q/quarnwin\" --automation\n"));
    }

    void clientsHoldTheObjectUntilTheyReleaseItOrLeave() {
        AutomationServer server;
        QVERIFY(server.Serve());
        QSignalSpy held(&server, &AutomationServer::heldChanged);
        {
            Client first("first");
            Client second("second");
            QDBusReply<QDBusObjectPath> path = first.Call("CreateObject");
            QVERIFY2(path.isValid(), qPrintable(path.error().message()));
            QCOMPARE(path.value().path(), QString(AutomationServer::kObjectPath));
            QTRY_VERIFY(server.held());
            QVERIFY(second.Call("CreateObject").type() == QDBusMessage::ReplyMessage);
            QTRY_COMPARE(server.holds(), 2);
            QVERIFY(first.Call("ReleaseObject").type() == QDBusMessage::ReplyMessage);
            QTRY_COMPARE(server.holds(), 1);
            QVERIFY(server.held());
        }
        // The second client left the bus without releasing.
        QTRY_VERIFY(!server.held());
        QCOMPARE(held.count(), 2);
        // A second server cannot take the name.
        AutomationServer other;
        QVERIFY(!other.Serve());
    }

    void theDialogHidesWhileHeldAndEndsWhenReleased() {
        QTemporaryDir work;
        quarnwin::testing::KeepSettingsIn(work.path());
        quarnwin::QuarnWinOptions options;
        options.port = "/dev/null-no-such-port";
        options.programFolder = work.path() + "/";
        quarnwin::CQuarnWinDlg dialog(options);
        AutomationServer server;
        dialog.setAutomation(&server);
        dialog.Initialise();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QSignalSpy finished(&dialog, &QDialog::finished);

        server.Hold("client");
        quarnwin::testing::DialogScript script;
        script.ChooseFile(QString());  // the offer to save the log: Cancel
        dialog.close();
        QVERIFY(script.done());
        QVERIFY(dialog.isHidden());
        QCOMPARE(finished.count(), 0);
        server.Release("client");
        QCOMPARE(finished.count(), 1);
    }
};

QTEST_MAIN(AutomationTest)
#include "automation_test.moc"
