// What the dialog programs share, on the offscreen platform: the command line's shape, the
// graphical desktop check, the port choice and its dialog, the paint-pumping clock, stop
// requests and file names towards the core.
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QRadioButton>
#include <QSettings>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <map>

#include "cli/command_line.h"
#include "link/stop_signals.h"
#include "qt_shared/core_path.h"
#include "qt_shared/dialog_clock.h"
#include "qt_shared/dialog_command_line.h"
#include "qt_shared/graphical_desktop.h"
#include "qt_shared/paint_pump.h"
#include "qt_shared/port_choice.h"
#include "qt_shared/port_dialog.h"
#include "qt_shared/stop_requests.h"

using namespace qtshared;

namespace {

const DialogProgram kPlcTool{"quarnwin",     "quarnctl", "Programs a PLC.",    "HadrelTest",
                             "QuarnWinTest", true,       "The log is log.txt."};
const DialogProgram kDisplayTool{
    "skellig", "skelligctl", "Sends a setup.", "HadrelTest", "SkelligTest", false, ""};

EnvironmentLookup Environment(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const char* name) -> const char* {
        auto it = values.find(name);
        return it == values.end() ? nullptr : it->second.c_str();
    };
}

class PaintCounter final : public QWidget {
  public:
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

}  // namespace

class QtSharedTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        QSettings("HadrelTest", "SkelligTest").clear();
        serial::ClearStopRequest();
    }

    void helpHasTheCommandLineToolsShape() {
        const DialogArguments help = ParseDialogArguments(kPlcTool, {"--help"});
        QCOMPARE(help.exitStatus, std::optional<int>(0));
        const QString text = QString::fromStdString(help.out);
        QVERIFY2(
            text.contains(
                "Usage: quarnwin [--version] [--help] [--port PORT] [--automation] [--regserver] "
                "[--unregserver]\n"),
            qPrintable(text));
        QVERIFY(text.contains("Options:"));
        QVERIFY(text.contains("rfc2217://HOST:PORT"));
        QVERIFY(text.contains("The log is log.txt."));
        QVERIFY(text.contains("use quarnctl"));
        QVERIFY(text.contains("HadrelTest"));  // where the settings are kept
        const QString display = QString::fromStdString(DialogHelpText(kDisplayTool));
        QVERIFY(display.contains("Usage: skellig [--version] [--help] [--port PORT]\n"));
        QVERIFY(!display.contains("automation"));
        QCOMPARE(ParseDialogArguments(kDisplayTool, {"--version"}).out,
                 std::string("skellig ") + cli::SuiteVersion() + "\n");
    }

    void argumentsLeaveTheToolkitItsOwnAndRefuseTheRest() {
        DialogArguments a =
            ParseDialogArguments(kPlcTool, {"-platform", "offscreen", "-Embedding", "--port",
                                            "socket://h:4001", "-style=fusion", "-reverse"});
        QVERIFY(!a.exitStatus);
        QCOMPARE(a.platform, std::string("offscreen"));
        QVERIFY(a.automation);
        QCOMPARE(a.port, std::string("socket://h:4001"));
        QCOMPARE(ParseDialogArguments(kPlcTool, {"/Automation"}).automation, true);

        // The display tools have no automation switch; a usage error is one line, status 2.
        a = ParseDialogArguments(kDisplayTool, {"-Embedding"});
        QCOMPARE(a.exitStatus, std::optional<int>(2));
        QVERIFY(a.err.rfind("skellig: ", 0) == 0);
        QCOMPARE(a.err.find('\n'), a.err.size() - 1);
        QCOMPARE(ParseDialogArguments(kDisplayTool, {"--port"}).exitStatus, std::optional<int>(2));
        QCOMPARE(ParseDialogArguments(kDisplayTool, {"--port="}).exitStatus, std::optional<int>(2));
    }

    void windowsNeedADesktopOrAPlatformThatNeedsNone() {
#ifdef _WIN32
        // Windows has its desktop for every windowed program: no variable is looked at.
        QVERIFY(CanShowWindows("", Environment({})));
        QVERIFY(CanShowWindows("", Environment({{ "DISPLAY", "" }})));
#else
        QVERIFY(!CanShowWindows("", Environment({})));
        QVERIFY(!CanShowWindows("", Environment({{"DISPLAY", ""}})));
#endif
        QVERIFY(CanShowWindows("", Environment({{"DISPLAY", ":0"}})));
        QVERIFY(CanShowWindows("", Environment({{"WAYLAND_DISPLAY", "wayland-0"}})));
        QVERIFY(CanShowWindows("", Environment({{"QT_QPA_PLATFORM", "offscreen"}})));
        QVERIFY(!CanShowWindows("", Environment({{"QT_QPA_PLATFORM", "xcb"}})));
        QVERIFY(!CanShowWindows("xcb", Environment({{"WAYLAND_DISPLAY", "w"}})));
        QVERIFY(CanShowWindows("wayland;xcb:nograb", Environment({{"DISPLAY", ":1"}})));
        // -platform wins over the environment.
        QVERIFY(CanShowWindows("offscreen", Environment({{"QT_QPA_PLATFORM", "xcb"}})));
        const QString message = QString::fromStdString(NoDesktopMessage(kDisplayTool));
        QVERIFY(message.contains("graphical desktop"));
        QVERIFY(message.contains("skelligctl"));
    }

    void portComesFromTheCommandLineTheChoiceOrTheConverter() {
        int searches = 0;
        std::string converter = "ttyUSB1";
        std::vector<std::optional<QString>> answers;
        PortChoice choice(
            "HadrelTest", "SkelligTest",
            [&] {
                ++searches;
                return converter;
            },
            [&](QWidget*, const QString&) {
                auto answer = answers.front();
                answers.erase(answers.begin());
                return answer;
            });
        auto port = choice.AtStart(nullptr, "/tmp/link");
        QCOMPARE(port->port, std::string("/tmp/link"));
        QVERIFY(port->origin == PortOrigin::CommandLine);
        port = choice.AtStart(nullptr, "");
        QCOMPARE(port->port, std::string("ttyUSB1"));
        QVERIFY(port->origin == PortOrigin::Converter);
        QVERIFY(PortOriginText(port->origin).isEmpty());

        // No converter: its message, then the choice, kept for the next start.
        converter.clear();
        answers = {QString("rfc2217://plant:2217")};
        port = choice.AtStart(nullptr, "");
        QCOMPARE(port->port, std::string("rfc2217://plant:2217"));
        QVERIFY(port->origin == PortOrigin::Chosen);
        QCOMPARE(choice.Stored(), QString("rfc2217://plant:2217"));
        searches = 0;
        QCOMPARE(choice.AtStart(nullptr, "")->port, std::string("rfc2217://plant:2217"));
        QCOMPARE(searches, 0);

        // Back to the converter from the menu: the setting is emptied.
        converter = "ttyUSB0";
        answers = {QString()};
        port = choice.ChooseAgain(nullptr, *port);
        QCOMPARE(port->port, std::string("ttyUSB0"));
        QCOMPARE(choice.Stored(), QString());

        // No converter and the choice cancelled: no port, the program ends.
        converter.clear();
        searches = 0;
        answers = {QString(), std::nullopt};  // the converter again (still none), then Cancel
        QVERIFY(!choice.AtStart(nullptr, ""));
        QCOMPARE(searches, 2);
        QCOMPARE(choice.Stored(), QString());
    }

    void portDialogTakesAListedOrTypedPort() {
        PortDialog dialog({{"ttyS0", ""}, {"ttyUSB0", "FT232R USB UART"}}, QString());
        auto* field = dialog.findChild<QComboBox*>("portField");
        QVERIFY(dialog.findChild<QRadioButton*>("converterChoice")->isChecked());
        QCOMPARE(dialog.port(), QString());
        QCOMPARE(field->itemText(1), QString("ttyUSB0  (FT232R USB UART)"));
        emit field->activated(1);
        QCOMPARE(dialog.port(), QString("ttyUSB0"));

        // "This port" with nothing named is refused with a message; the dialog stays.
        field->setEditText("  ");
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->accept();
        });
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        // A network address without its port number is refused the same way.
        field->setEditText("rfc2217://10.0.0.7");
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->accept();
        });
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        field->setEditText("socket://10.0.0.7:4001 ");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.port(), QString("socket://10.0.0.7:4001"));
    }

    void longWaitsLetPaintWorkThrough() {
        PaintCounter window;
        window.resize(100, 50);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        DialogClock clock;
        clock.paintWhileWaiting(&window);
        // A repaint asked for in the middle of the wait is done before the wait ends.
        window.paints = 0;
        QTimer::singleShot(100, &window, [&] { window.update(); });
        QElapsedTimer elapsed;
        elapsed.start();
        clock.sleep(common::Millis(400));
        QVERIFY(elapsed.elapsed() >= 400);
        QVERIFY(elapsed.elapsed() < 1000);
        QVERIFY(window.paints > 0);

        // A stop request ends a long wait early.
        serial::RequestStop(serial::kTerminateSignal);
        elapsed.restart();
        clock.sleep(common::Millis(5000));
        QVERIFY(elapsed.elapsed() < 1000);
        serial::ClearStopRequest();
    }

    void stopRequestCancelsAQuestionThenEndsTheDialog() {
        QDialog dialog;
        dialog.show();
        int ended = 0;
        EndOnStopRequest(dialog, [&] {
            ++ended;
            dialog.reject();
        });
        QTimer::singleShot(50, [] { serial::RequestStop(serial::kInterruptSignal); });
        const auto answer = QMessageBox::question(&dialog, "Skellig", "Are you sure?");
        QVERIFY(answer != QMessageBox::Yes);  // cancelled, not answered
        QCOMPARE(ended, 0);
        QTRY_COMPARE(ended, 1);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(ExitStatusAfterStop(0), 130);
        serial::ClearStopRequest();
        QCOMPARE(ExitStatusAfterStop(0), 0);
    }

    void nonAsciiFileNamesCrossUnchanged() {
        const QString folder = QDir::temp().filePath(QString::fromUtf8("Jürgen/Проекты"));
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + QString::fromUtf8("/анлаге.txt");
        {
            std::ofstream out(ToFilesystemPath(file));
            out << "x";
        }
        QVERIFY(QFile::exists(file));
        QCOMPARE(FromCorePath(ToCorePath(file)), file);
        QCOMPARE(ToCorePath(QString::fromUtf8("Jürgen")), std::string("J\xC3\xBCrgen"));
        QDir(QDir::temp().filePath(QString::fromUtf8("Jürgen"))).removeRecursively();
    }
};

QTEST_MAIN(QtSharedTest)
#include "qt_shared_test.moc"
