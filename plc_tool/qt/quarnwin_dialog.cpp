#include "plc_tool/qt/quarnwin_dialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "common/file_helpers.h"
#include "link/platform_serial.h"
#include "plc/files/transfer_log.h"
#include "plc_tool/core/control_operations.h"
#include "plc_tool/qt/about_box.h"
#include "plc_tool/qt/automation.h"
#include "plc_tool/qt/file_dialogs.h"
#include "plc_tool/qt/log_viewer.h"
#include "plc_tool/qt/program_folder.h"
#include "qt_shared/core_path.h"
#include "qt_shared/dialog_clock.h"
#include "qt_shared/port_dialog.h"

namespace quarnwin {

namespace {
constexpr int kFastSpeedIndex = 1;
constexpr const char* kSaveLogTitle = "Save log file ";
constexpr const char* kLogFilter = "Log file (*.txt)|*.txt||";
}  // namespace

CQuarnWinDlg::CQuarnWinDlg(QuarnWinOptions options, QWidget* parent)
    : QDialog(parent), options_(std::move(options)) {
    BuildControls();
    if (options_.clock) {
        clock_ = options_.clock;
    } else {
        auto clock = std::make_unique<qtshared::DialogClock>();
        clock->paintWhileWaiting(this);
        ownClock_ = std::move(clock);
        clock_ = ownClock_.get();
    }
    frontend_ = std::make_unique<QtFrontend>(*this, *status_);
    device_ = serial::MakeSerialDevice(*clock_);
    session_ = std::make_unique<QuarnSession>(*device_, *clock_, *frontend_);
}

CQuarnWinDlg::~CQuarnWinDlg() {
    // Settings that were never read are not written over the stored ones.
    if (!settingsRead_) return;
    settings_.baudrate = speed_->currentIndex();
    settings_.Save();
}

bool CQuarnWinDlg::Initialise() {
    setWindowTitle(kTitle);
    // All settings at once: they go back unchanged even when the program ends right away.
    settings_ = QuarnWinSettings::Load();
    settingsRead_ = true;
    backupBeforeDownload_->setChecked(settings_.backupBeforeDownload);
    verifyAfterDownload_->setChecked(settings_.verifyAfterDownload);
    programFolder_ = options_.programFolder.isEmpty() ? ProgramFolder() : options_.programFolder;

    speed_->setCurrentIndex(settings_.baudrate);
    connect(speed_, &QComboBox::activated, this, &CQuarnWinDlg::OnSpeedChanged);

    std::optional<qtshared::PortInUse> port = PortChoice().AtStart(this, options_.port);
    if (port) UsePort(*port);
    plc::AppendLog(qtshared::ToFilesystemPath(logFile()), std::string());
    return port.has_value();
}

qtshared::PortChoice CQuarnWinDlg::PortChoice() {
    qtshared::PortAsker ask =
        options_.askPort ? options_.askPort : qtshared::StandardPortAsker(options_.sysfsRoot);
    return qtshared::PortChoice(
        QuarnWinSettings::kCompany, QuarnWinSettings::kProgram,
        [this] { return serial::FindConverterPort(*frontend_, options_.sysfsRoot); }, ask);
}

void CQuarnWinDlg::OnChoosePort() {
    if (std::optional<qtshared::PortInUse> port = PortChoice().ChooseAgain(this, port_))
        UsePort(*port);
}

QString CQuarnWinDlg::portName() const {
    return qtshared::FromCorePath(port_.port);
}

void CQuarnWinDlg::UsePort(const qtshared::PortInUse& port) {
    port_ = port;
    qtshared::ShowPortInUse(port_, *portField_, *portOrigin_);
    portField_->setText(
        portField_->fontMetrics().elidedText(portName(), Qt::ElideLeft, portField_->width()));
    // Another port is another PLC: its station is searched before the next operation.
    session_->connection().Forget();
    if (!session_->Open(port_.port, settings_.baudrate == kFastSpeedIndex)) {
        // The operations would only time out; say why the port is not usable.
        const std::string why = session_->link().OpenFailureText();
        if (!why.empty()) frontend_->reportError(why, false);
    }
}

void CQuarnWinDlg::EndOnStop() {
    QDialog::done(QDialog::Rejected);
}

void CQuarnWinDlg::setAutomation(AutomationServer* automation) {
    automation_ = automation;
    if (!automation_) return;
    connect(automation_, &AutomationServer::heldChanged, this, [this](bool held) {
        if (!held && isHidden()) QDialog::done(QDialog::Rejected);
    });
}

bool CQuarnWinDlg::HeldByAutomation() const {
    return automation_ && automation_->held();
}

void CQuarnWinDlg::OnReset() {
    RunReset(*session_);
}

void CQuarnWinDlg::OnInitEeprom() {
    RunInitEeprom(*session_);
}

void CQuarnWinDlg::OnSpeedChanged(int index) {
    settings_.baudrate = index;
    session_->ChangeSpeed(index == kFastSpeedIndex);
}

void CQuarnWinDlg::OnShowLog() {
    if (options_.showLog) {
        options_.showLog(logFile());
        return;
    }
    OpenLogViewer(logFile());
}

void CQuarnWinDlg::OnAbout() {
    AboutBox about(this);
    about.exec();
}

void CQuarnWinDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The status line is drawn again with the dialog, in black: an error text stays, but
    // no longer in red.
    status_->update();
}

void CQuarnWinDlg::closeEvent(QCloseEvent* event) {
    QString target = ChooseFileToSave(this, kSaveLogTitle, "txt", programFolder_, kLogFilter);
    if (!target.isEmpty() && target != logFile()) {
        // The copy replaces an existing file only once it is complete; a failed copy is
        // not reported, as the log never stops the program.
        if (std::optional<std::string> log =
                common::ReadWholeFile(qtshared::ToFilesystemPath(logFile())))
            common::WriteFileReplacing(qtshared::ToFilesystemPath(target), *log);
    }
    if (HeldByAutomation()) {
        event->ignore();
        hide();
        return;
    }
    QDialog::closeEvent(event);
}

void CQuarnWinDlg::keyPressEvent(QKeyEvent* event) {
    // Enter clicks the button that has the focus, as the dialog manager makes the focused
    // push button the default one; anywhere else it is the dialog's OK, which ends the
    // program (without the offer to save the log).
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !(event->modifiers() & ~Qt::KeypadModifier)) {
        event->accept();
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        else
            done(QDialog::Accepted);
        return;
    }
    QDialog::keyPressEvent(event);
}

void CQuarnWinDlg::done(int result) {
    // OK, Cancel and Escape: no offer to save the log.
    if (HeldByAutomation()) {
        hide();
        return;
    }
    QDialog::done(result);
}

}  // namespace quarnwin
