// The Skellig dialog on the offscreen platform, sending through displaysim: the time
// dialog answered (and answered wrongly), a cancelled file choice, the message of a silent
// display, the setting, the texts of the dialogs.
#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "common/clock.h"
#include "link/termios_device.h"
#include "setup_tool/qt/about_dlg.h"
#include "setup_tool/qt/skellig_dlg.h"
#include "setup_tool/qt/skellig_settings.h"
#include "setup_tool/qt/time_date_dlg.h"
#include "testsupport/process.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> RecordLines(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Acts on the modal windows that come up, in order: each action waits for a new modal
// window (not the one handled before) and runs on it.
class ModalAnswers : public QObject {
  public:
    using Action = std::function<void(QWidget*)>;
    explicit ModalAnswers(QObject* parent) : QObject(parent), timer_(this) {
        timer_.setInterval(20);
        connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start();
    }
    void then(Action action) { actions_.push_back(std::move(action)); }
    int handled() const { return handled_; }

  private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || actions_.empty() || modal == last_.data()) return;
        last_ = modal;
        Action action = std::move(actions_.front());
        actions_.pop_front();
        ++handled_;
        action(modal);
    }
    QTimer timer_;
    std::deque<Action> actions_;
    QPointer<QWidget> last_;
    int handled_ = 0;
};

void Fill(QWidget* dialog, const char* field, const QString& text) {
    dialog->findChild<QLineEdit*>(field)->setText(text);
}

}  // namespace

class SkelligDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        QSettings(skellig::kSettingsCompany, skellig::kSettingsProgram).clear();
        link_ = testsupport::FreshLinkPath("display");
        record_ = fs::path(link_).parent_path() / "record.txt";
    }
    void cleanup() {
        sim_.reset();
        fs::remove_all(fs::path(link_).parent_path());
    }

    void sendsTheSampleWithTheTimeDialogAnswered() {
        startSim({});
        const QString sample =
            QString::fromStdString((fs::path(SAMPLES_DIR) / "anlage.txt").string());
        {
            common::RealClock clock;
            serial::TermiosDevice device(clock);
            skellig::CSkelligDlg dialog(device, QString::fromStdString(link_));
            QVERIFY(dialog.Initialise());
            dialog.setTextFileChooser([&](QWidget*, const QString& proposed) {
                proposedPath_ = proposed;
                return sample;
            });
            dialog.show();
            ModalAnswers answers(this);
            answers.then([](QWidget* modal) {
                QCOMPARE(modal->objectName(), QString("timeDateDialog"));
                Fill(modal, "hours", "09");
                Fill(modal, "minutes", "05");
                Fill(modal, "seconds", "03");
                Fill(modal, "day", "7");
                Fill(modal, "month", "03");
                Fill(modal, "year", "2024");
                modal->findChild<QComboBox*>("daylightSaving")->setCurrentIndex(1);
                static_cast<QDialog*>(modal)->accept();
            });
            QTest::mouseClick(dialog.findChild<QPushButton*>("sendButton"), Qt::LeftButton);
            QCOMPARE(answers.handled(), 1);
            QCOMPARE(dialog.statusLine().text(), QString("Ready"));
            QCOMPARE(proposedPath_, QString());  // first start: nothing proposed
        }
        sim_->stop();
        auto lines = RecordLines(record_);
        QCOMPARE(lines.size(), size_t(1 + 253 + 20 + 3 + 1));
        QCOMPARE(QString::fromStdString(lines[lines.size() - 4]), QString("@U09:05:03"));
        QCOMPARE(QString::fromStdString(lines[lines.size() - 3]), QString("@UW"));
        QCOMPARE(QString::fromStdString(lines[lines.size() - 2]), QString("@D07.03.24"));
        QCOMPARE(QString::fromStdString(lines.back()), QString("@Ta"));
        QCOMPARE(skellig::LoadPathVyn(), sample);
    }

    void invalidClockValuesBringTheDialogBackFilledAnew() {
        startSim({});
        const fs::path dir = fs::path(link_).parent_path();
        std::ofstream(dir / "small.set", std::ios::binary) << std::string(2, '\1');
        std::ofstream(dir / "small.txt") << "one\n";
        common::RealClock clock;
        serial::TermiosDevice device(clock);
        skellig::CSkelligDlg dialog(device, QString::fromStdString(link_));
        QVERIFY(dialog.Initialise());
        dialog.setTextFileChooser([&](QWidget*, const QString&) {
            return QString::fromStdString((dir / "small.txt").string());
        });
        ModalAnswers answers(this);
        answers.then([](QWidget* modal) {
            Fill(modal, "year", "24");
            static_cast<QDialog*>(modal)->accept();
        });
        QString yearShownAgain;
        answers.then([&](QWidget* modal) {
            yearShownAgain = modal->findChild<QLineEdit*>("year")->text();
            static_cast<QDialog*>(modal)->reject();
        });
        QTest::mouseClick(dialog.findChild<QPushButton*>("sendButton"), Qt::LeftButton);
        QCOMPARE(answers.handled(), 2);
        QCOMPARE(yearShownAgain, QString::number(QDate::currentDate().year()));
        QCOMPARE(dialog.statusLine().text(), QString("Ready"));
        sim_->stop();
        auto lines = RecordLines(record_);
        for (const auto& line : lines)
            QVERIFY(line.rfind("@U", 0) != 0 && line.rfind("@D", 0) != 0);
        QCOMPARE(QString::fromStdString(lines.back()), QString("@Ta"));
    }

    void aCloseDuringTheTransferWaitsUntilTheTransferHasEnded() {
        startSim({});
        const QString sample =
            QString::fromStdString((fs::path(SAMPLES_DIR) / "anlage.txt").string());
        common::RealClock clock;
        serial::TermiosDevice device(clock);
        skellig::CSkelligDlg dialog(device, QString::fromStdString(link_));
        QVERIFY(dialog.Initialise());
        // The close box is clicked as the transfer starts: the close comes in while the
        // status line draws the transfer's first text.
        dialog.setTextFileChooser([&](QWidget*, const QString&) {
            QMetaObject::invokeMethod(
                &dialog, [&] { dialog.close(); }, Qt::QueuedConnection);
            return sample;
        });
        dialog.show();
        bool shownAtTheClock = false;
        ModalAnswers answers(this);
        answers.then([&](QWidget* modal) {
            shownAtTheClock = dialog.isVisible();
            static_cast<QDialog*>(modal)->reject();
        });
        QTest::mouseClick(dialog.findChild<QPushButton*>("sendButton"), Qt::LeftButton);
        QCOMPARE(answers.handled(), 1);
        QVERIFY(shownAtTheClock);
        QCOMPARE(dialog.statusLine().text(), QString("Ready"));
        QVERIFY(dialog.isVisible());
        // The transfer is over: the close goes on once the dialog waits for input.
        QEventLoop idle;
        QTimer::singleShot(5000, &idle, &QEventLoop::quit);
        connect(&dialog, &QDialog::finished, &idle, &QEventLoop::quit);
        idle.exec();
        QVERIFY(!dialog.isVisible());
        sim_->stop();
        QCOMPARE(QString::fromStdString(RecordLines(record_).back()), QString("@Ta"));
    }

    void cancelledFileChoiceSendsNothingAndKeepsTheSetting() {
        skellig::SavePathVyn("/old/anlage.txt");
        startSim({});
        {
            common::RealClock clock;
            serial::TermiosDevice device(clock);
            skellig::CSkelligDlg dialog(device, QString::fromStdString(link_));
            QVERIFY(dialog.Initialise());
            dialog.setTextFileChooser([&](QWidget*, const QString& proposed) {
                proposedPath_ = proposed;
                return QString();
            });
            QTest::mouseClick(dialog.findChild<QPushButton*>("sendButton"), Qt::LeftButton);
            QCOMPARE(proposedPath_, QString("/old/anlage.txt"));
        }
        sim_->stop();
        QVERIFY(RecordLines(record_).empty());
        QCOMPARE(skellig::LoadPathVyn(), QString("/old/anlage.txt"));
    }

    void silentDisplayIsReportedInAMessageBox() {
        startSim({"--fault", "silent"});
        common::RealClock clock;
        serial::TermiosDevice device(clock);
        skellig::CSkelligDlg dialog(device, QString::fromStdString(link_));
        QVERIFY(dialog.Initialise());
        dialog.setTextFileChooser([](QWidget*, const QString&) {
            return QString::fromStdString((fs::path(SAMPLES_DIR) / "anlage.txt").string());
        });
        QString title, text;
        ModalAnswers answers(this);
        answers.then([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            box->accept();
        });
        QTest::mouseClick(dialog.findChild<QPushButton*>("sendButton"), Qt::LeftButton);
        QCOMPARE(title, QString("Skellig"));
        QCOMPARE(text, QString("No connection"));
        QCOMPARE(dialog.statusLine().text(), QString());
    }

    void dialogTexts() {
        startSim({});
        common::RealClock clock;
        serial::TermiosDevice device(clock);
        skellig::CSkelligDlg dialog(device, QString::fromStdString(link_));
        QVERIFY(dialog.Initialise());
        QCOMPARE(dialog.windowTitle(), QString("Tessel   V 4.0"));
        QCOMPARE(dialog.findChild<QPushButton*>("sendButton")->text(),
                 QString("      PC\n       ->\nTextdisplay"));
        QCOMPARE(dialog.findChild<QLabel*>("portName")->text(), QString::fromStdString(link_));
        QVERIFY(dialog.findChild<QLabel*>("interfaceHint")
                    ->text()
                    .endsWith("\n\n9600 baud, 8 data bits, 2 stop bits, no parity"));
        auto* about = dialog.findChild<QAction*>("aboutAction");
        QCOMPARE(about->text(), QString::fromUtf8("Inf&o über Skellig..."));
        QString aboutTitle;
        ModalAnswers answers(this);
        answers.then([&](QWidget* modal) {
            aboutTitle = modal->windowTitle();
            static_cast<QDialog*>(modal)->accept();
        });
        about->trigger();
        QCOMPARE(aboutTitle, QString::fromUtf8("Info über Tessel"));
    }

    // No converter: its message, then the port choice; the port named is used and kept, and
    // the next start takes it without searching or asking.
    void portNamedWithoutAConverterIsUsedAndKept() {
        startSim({});
        QTemporaryDir emptySys;
        int asked = 0;
        auto ask = [&](QWidget*, const QString&) -> std::optional<QString> {
            ++asked;
            return QString::fromStdString(link_);
        };
        common::RealClock clock;
        serial::TermiosDevice device(clock);
        {
            skellig::CSkelligDlg dialog(device, QString());
            dialog.setPortSources(emptySys.path().toStdString(), ask);
            QString text;
            ModalAnswers answers(this);
            answers.then([&](QWidget* modal) {
                text = qobject_cast<QMessageBox*>(modal)->text();
                static_cast<QDialog*>(modal)->accept();
            });
            QVERIFY(dialog.Initialise());
            QCOMPARE(text, QString("No USB Serial converter found\n"));
            QCOMPARE(asked, 1);
        }
        QCOMPARE(QSettings(skellig::kSettingsCompany, skellig::kSettingsProgram)
                     .value("Einstellungen/Port")
                     .toString(),
                 QString::fromStdString(link_));

        skellig::CSkelligDlg dialog(device, QString());
        dialog.setPortSources(emptySys.path().toStdString(), ask);
        QVERIFY(dialog.Initialise());
        QCOMPARE(asked, 1);
        QCOMPARE(dialog.findChild<QLabel*>("portName")->text(), QString::fromStdString(link_));
        QCOMPARE(dialog.findChild<QLabel*>("portOrigin")->text(), QString("chosen with Port…"));
        // The display answers on it: the transfer logs in before the time dialog, cancelled.
        dialog.setTextFileChooser([](QWidget*, const QString&) {
            return QString::fromStdString((fs::path(SAMPLES_DIR) / "anlage.txt").string());
        });
        ModalAnswers answers(this);
        answers.then([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
        QTest::mouseClick(dialog.findChild<QPushButton*>("sendButton"), Qt::LeftButton);
        sim_->stop();
        QVERIFY(!RecordLines(record_).empty());
    }

    void timeDateDialogIsFilledAsTheDisplayWritesIt() {
        skellig::CTimeDateDlg dialog(nullptr);
        dialog.setEntry(setup::PrefilledEntry({2024, 3, 7, 9, 5, 3}));
        QCOMPARE(dialog.windowTitle(), QString("Time / Date"));
        const char* names[] = {"hours", "minutes", "seconds", "day", "month", "year"};
        const char* texts[] = {"09", "05", "03", "7", "03", "2024"};
        for (int i = 0; i < 6; ++i) {
            auto* edit = dialog.findChild<QLineEdit*>(names[i]);
            QCOMPARE(edit->text(), QString(texts[i]));
            QCOMPARE(edit->alignment(), Qt::AlignCenter);
        }
        auto* list = dialog.findChild<QComboBox*>("daylightSaving");
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->itemText(0), QString("Summer time"));
        QCOMPARE(list->itemText(1), QString("Winter time"));
        QCOMPARE(list->itemText(2), QString("Withou time-switch"));
        QCOMPARE(list->currentIndex(), 0);
        Fill(&dialog, "minutes", "abc");
        list->setCurrentIndex(2);
        setup::ClockEntry e = dialog.entry();
        QCOMPARE(QString::fromStdString(e.minutes), QString("abc"));
        QCOMPARE(e.rule, 2);
    }

  private:
    void startSim(std::vector<std::string> extra) {
        std::vector<std::string> args{"--link", link_, "--record", record_.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        sim_ = std::make_unique<testsupport::BackgroundProcess>(DISPLAYSIM_PATH, args, link_);
        QVERIFY(sim_->running());
    }
    std::string link_;
    fs::path record_;
    std::unique_ptr<testsupport::BackgroundProcess> sim_;
    QString proposedPath_;
};

QTEST_MAIN(SkelligDialogTest)
#include "skellig_dialog_test.moc"
