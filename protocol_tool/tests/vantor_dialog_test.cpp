// The Qt dialog program on the offscreen platform, with a scripted display: the Protocol
// dialog's validation, one retrieval through it, and the settings kept between runs.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "common/file_helpers.h"
#include "link/scripted_device.h"
#include "protocol_tool/qt/protocol_dlg.h"
#include "protocol_tool/qt/vantor_dlg.h"

namespace {

// Works through modal windows as they come up: each step waits until the active modal
// window is the one it expects, acts on it, and hands over to the next step. Clicks that
// open further modal windows are queued, so no step blocks the polling timer.
class ModalScript : public QObject {
  public:
    using Step = std::function<bool(QWidget* modal)>;  // false: not the expected window yet
    explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps)) {
        connect(&timer_, &QTimer::timeout, this, &ModalScript::poll);
        timer_.start(10);
    }
    bool finished() const { return next_ == steps_.size(); }

  private:
    void poll() {
        if (finished()) return timer_.stop();
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && steps_[next_](modal)) ++next_;
    }
    std::vector<Step> steps_;
    size_t next_ = 0;
    QTimer timer_;
};

void QueueClick(QAbstractButton* button) {
    QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
}

// The Protocol dialog once it waits for the technician. A refusal's message box stays the
// dialog's child until the refusal is done (the number selected again); the polling timer can
// run in the box's last event loop pass, after it closed but before that.
vantor::CProtocolDlg* WaitingProtocolDialog(QWidget* modal) {
    auto* dialog = qobject_cast<vantor::CProtocolDlg*>(modal);
    return dialog && !dialog->findChild<QMessageBox*>() ? dialog : nullptr;
}

// The Protocol dialog: sees it with the expected values, types the number and presses OK.
ModalScript::Step ProtocolDialogStep(const QString& type, QStringList* seen) {
    return [type, seen](QWidget* modal) {
        auto* dialog = WaitingProtocolDialog(modal);
        if (!dialog) return false;
        auto* number = dialog->findChild<QLineEdit*>("protocolNumber");
        auto* upTo = dialog->findChild<QRadioButton*>("protocolUpTo");
        seen->append(QString("%1 %2 %3")
                         .arg(upTo->isChecked() ? "up-to" : "new")
                         .arg(number->text())
                         .arg(number->hasSelectedText() ? "selected" : ""));
        number->setText(type);
        auto* box = dialog->findChild<QDialogButtonBox*>();
        QueueClick(box->button(QDialogButtonBox::Ok));
        return true;
    };
}

ModalScript::Step CancelProtocolDialogStep(QStringList* seen) {
    return [seen](QWidget* modal) {
        auto* dialog = WaitingProtocolDialog(modal);
        if (!dialog) return false;
        auto* number = dialog->findChild<QLineEdit*>("protocolNumber");
        auto* upTo = dialog->findChild<QRadioButton*>("protocolUpTo");
        seen->append(QString("%1 %2").arg(upTo->isChecked() ? "up-to" : "new").arg(number->text()));
        QueueClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel));
        return true;
    };
}

ModalScript::Step MessageStep(QStringList* messages) {
    return [messages](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return false;
        messages->append(box->windowTitle() + ": " + box->text());
        QueueClick(box->button(QMessageBox::Ok));
        return true;
    };
}

QVariant Stored(const char* name) {
    QSettings settings("Hadrel", "Vantor");
    return settings.value(QString("Einstellungen/") + name);
}

}  // namespace

class VantorDialogTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<vantor::CVantorDlg> Start() {
        auto dialog = std::make_unique<vantor::CVantorDlg>(device, "/tmp/vantor-dialog-test-port");
        dialog->setFileDialogs(files);
        if (!dialog->Initialise()) return nullptr;
        dialog->show();
        return dialog;
    }
    QString InFolder(const char* name) const { return folder.filePath(name); }
    std::string ReadFile(const QString& path) const {
        return common::ReadWholeFile(path.toStdString()).value_or("<missing>");
    }

    common::FakeClock clock;
    serial::ScriptedDevice device{clock};
    QTemporaryDir folder;
    vantor::FileDialogs files;
    QStringList offered;       // what the Protocol dialog showed
    QStringList messages;      // message boxes, "title: text"
    QString chosenProtocol;    // what the Get Protocol and Convert dialogs return
    QStringList initialNames;  // the initial file names the file dialogs were given

  private slots:
    void init() {
        QSettings("Hadrel", "Vantor").clear();
        device.clearWrites();
        device.respond(nullptr);
        offered.clear();
        messages.clear();
        initialNames.clear();
        auto choose = [this](QWidget*, const QString& initial) {
            initialNames.append(initial);
            return chosenProtocol;
        };
        files.saveProtocol = choose;
        files.openProtocol = choose;
        files.saveStatistics = [this](QWidget*, const QString& initial) {
            initialNames.append(initial);
            return InFolder("stats.sta");
        };
    }

    void firstStartOffersTheDefaultsAndCancelKeepsTheFile() {
        auto dialog = Start();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QString("Vantor   V 4.0"));
        QCOMPARE(dialog->findChild<QLabel*>("portName")->text(),
                 QString("/tmp/vantor-dialog-test-port"));
        QVERIFY(!dialog->findChild<QCheckBox*>("cyrillicCheck")->isChecked());

        chosenProtocol = InFolder("earlier.pro");
        QFile earlier(chosenProtocol);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier protocol\r\n");
        earlier.close();

        ModalScript script({CancelProtocolDialogStep(&offered)});
        QTest::mouseClick(dialog->findChild<QPushButton*>("getProtocolButton"), Qt::LeftButton);
        QVERIFY(script.finished());
        QCOMPARE(offered, QStringList{"up-to 100"});
        QCOMPARE(initialNames, QStringList{""});
        QVERIFY(device.writes().empty());
        QCOMPARE(ReadFile(chosenProtocol), std::string("earlier protocol\r\n"));
    }

    void protocolDialogRefusesBadNumbersThenFetches() {
        auto dialog = Start();
        QVERIFY(dialog);
        chosenProtocol = InFolder("fetched.pro");
        device.respond([](const std::string& written) {
            return written == "@Y0007@"
                       ? std::string("Coming     7    12.03.08    06:15:02\r\nA\r\nB\r\n--\r\n")
                       : std::string();
        });
        ModalScript script({ProtocolDialogStep("abc", &offered), MessageStep(&messages),
                            ProtocolDialogStep("0", &offered), MessageStep(&messages),
                            ProtocolDialogStep("10000", &offered), MessageStep(&messages),
                            ProtocolDialogStep("7", &offered)});
        QTest::mouseClick(dialog->findChild<QPushButton*>("getProtocolButton"), Qt::LeftButton);
        QVERIFY(script.finished());
        const QString range = "Vantor: Geben Sie bitte eine ganze Zahl zwischen 1 und 9999 ein.";
        QCOMPARE(messages,
                 (QStringList{"Vantor: Geben Sie bitte eine ganze Zahl ein.", range, range}));
        // After each refusal the dialog stayed open with the number selected.
        QCOMPARE(offered, (QStringList{"up-to 100 ", "up-to abc selected", "up-to 0 selected",
                                       "up-to 10000 selected"}));
        QCOMPARE(device.writes(), (std::vector<std::string>{"@@/r", "@Y0007@"}));
        QCOMPARE(ReadFile(chosenProtocol),
                 std::string("Coming     7    12.03.08    06:15:02\r\nA\r\nB\r\n--\r\n"));
        QCOMPARE(dialog->statusLine().text(), QString("Ready"));

        dialog.reset();  // the settings are written when the dialog goes
        QCOMPARE(Stored("Mode").toInt(), 0);
        QCOMPARE(Stored("Cnt").toInt(), 7);
        QCOMPARE(Stored("PathVYNProtokoll").toString(), chosenProtocol);
        QCOMPARE(Stored("PathVYNStatistik").toString(), QString());
        QCOMPARE(Stored("Cyrillic").toInt(), 0);
    }

    void choicesAndPathsAreOfferedAgainAfterARestart() {
        chosenProtocol = InFolder("may.pro");
        {
            auto dialog = Start();
            QVERIFY(dialog);
            // The check box counts only once an operation has taken it over.
            dialog->findChild<QCheckBox*>("cyrillicCheck")->setChecked(true);
            ModalScript script({[](QWidget* modal) {
                auto* dialog = qobject_cast<vantor::CProtocolDlg*>(modal);
                if (!dialog) return false;
                dialog->findChild<QRadioButton*>("newProtocolEntries")->setChecked(true);
                dialog->findChild<QLineEdit*>("protocolNumber")->setText("42");
                QueueClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok));
                return true;
            }});
            dialog->getProtocol();
            QVERIFY(script.finished());
            QCOMPARE(device.writes(), (std::vector<std::string>{"@@/r", "@YA@"}));
            QCOMPARE(dialog->statusLine().text(), QString("No data"));
            ModalScript told({MessageStep(&messages)});
            dialog->getStatistics();
            QVERIFY(told.finished());
            dialog->findChild<QCheckBox*>("cyrillicCheck")->setChecked(false);  // not taken over
        }
        QCOMPARE(Stored("Cyrillic").toInt(), 1);
        auto dialog = Start();
        QVERIFY(dialog);
        QVERIFY(dialog->findChild<QCheckBox*>("cyrillicCheck")->isChecked());
        ModalScript script({CancelProtocolDialogStep(&offered), MessageStep(&messages)});
        dialog->getProtocol();
        dialog->getStatistics();
        QVERIFY(script.finished());
        QCOMPARE(offered, QStringList{"new 42"});
        QCOMPARE(initialNames, (QStringList{"", "", chosenProtocol, InFolder("stats.sta")}));
    }

    // Old statistics must not look like new ones: "Ready" comes with a message box that
    // says nothing came, and names the kept file only where there was one.
    void statisticsWithoutAnAnswerAreToldInAMessageBox() {
        auto dialog = Start();
        QVERIFY(dialog);
        ModalScript first({MessageStep(&messages)});
        dialog->getStatistics();
        QVERIFY(first.finished());
        QCOMPARE(dialog->statusLine().text(), QString("Ready"));
        QVERIFY(!QFile::exists(InFolder("stats.sta")));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith("Vantor: The text display sent nothing."));
        QVERIFY(messages[0].contains("No file " + InFolder("stats.sta") + " was written."));

        QFile earlier(InFolder("stats.sta"));
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("STATISTIK\r\n");
        earlier.close();
        messages.clear();
        ModalScript second({MessageStep(&messages)});
        dialog->getStatistics();
        QVERIFY(second.finished());
        QCOMPARE(ReadFile(InFolder("stats.sta")), std::string("STATISTIK\r\n"));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains("The earlier file " + InFolder("stats.sta") +
                                     " was kept as it was."));
    }

    void clearAsksAndConvertWritesTheSpreadsheet() {
        auto dialog = Start();
        QVERIFY(dialog);
        ModalScript no({[](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box || box->text() != "Are you sure?") return false;
            QueueClick(box->button(QMessageBox::No));
            return true;
        }});
        dialog->clearProtocol();
        QVERIFY(no.finished());
        QVERIFY(device.writes().empty());
        QCOMPARE(dialog->statusLine().text(), QString("Clear protocol"));

        chosenProtocol = InFolder("conv.pro");
        QFile protocolFile(chosenProtocol);
        QVERIFY(protocolFile.open(QIODevice::WriteOnly));
        protocolFile.write("Off        0    12.03.08    18:00:00\r\nNetz aus\r\n\r\n--\r\n");
        protocolFile.close();
        dialog->convertProtocol();
        QCOMPARE(ReadFile(InFolder("conv.xls")),
                 std::string("STATUS\tMELDUNG\tDATUM\tUHRZEIT\tZEILE1\tZEILE2\r\n"
                             "Off\t0\t12.03.08\t18:00:00\tNetz aus\t\r\n"));
        QCOMPARE(dialog->statusLine().text(), QString("Convert ready"));
    }

    // The port kept under "Port" is taken before any converter search; "Port…" changes it
    // at once and keeps the new one.
    void keptPortIsTakenAndPortMenuReplacesIt() {
        QSettings("Hadrel", "Vantor").setValue("Einstellungen/Port", "socket://plant:4001");
        QTemporaryDir emptySys;
        QStringList proposed;
        vantor::CVantorDlg dialog(device, QString());
        dialog.setPortSources(emptySys.path().toStdString(),
                              [&](QWidget*, const QString& current) -> std::optional<QString> {
                                  proposed << current;
                                  return QString("rfc2217://plant:2217");
                              });
        QVERIFY(dialog.Initialise());
        QCOMPARE(dialog.findChild<QLabel*>("portName")->text(), QString("socket://plant:4001"));
        QVERIFY(proposed.isEmpty());

        dialog.findChild<QAction*>("portAction")->trigger();
        QCOMPARE(proposed, QStringList{"socket://plant:4001"});
        QCOMPARE(dialog.findChild<QLabel*>("portName")->text(), QString("rfc2217://plant:2217"));
        QCOMPARE(dialog.port().port, std::string("rfc2217://plant:2217"));
        QVERIFY(dialog.reader().Link().IsOpen());
        QCOMPARE(QSettings("Hadrel", "Vantor").value("Einstellungen/Port").toString(),
                 QString("rfc2217://plant:2217"));
    }

    void statusTextIsBlackWhateverTheTheme() {
        vantor::StatusLineWidget line;
        QPalette theme = line.palette();
        theme.setColor(QPalette::ToolTipBase, Qt::white);
        theme.setColor(QPalette::ToolTipText, Qt::red);
        line.setPalette(theme);
        line.resize(300, 40);
        line.showText("Ready");
        const QImage image = line.grab().toImage();
        bool drawn = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                QVERIFY2(pixel.red() - pixel.green() < 40, "a coloured status text");
                drawn = drawn || pixel.lightness() < 200;
            }
        QVERIFY(drawn);
    }
};

QTEST_MAIN(VantorDialogTest)
#include "vantor_dialog_test.moc"
