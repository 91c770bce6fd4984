#pragma once
// CQuarnWinDlg, the main dialog of QuarnWin: one button per PLC operation, the port and its
// speed, and the status line. It owns the session (serial link, PLC programmer, connection
// check); every operation runs synchronously in its button handler.
#include <QDialog>
#include <QString>
#include <memory>

#include "common/clock.h"
#include "link/serial_device.h"
#include "plc_tool/core/quarn_session.h"
#include "plc_tool/qt/qt_frontend.h"
#include "plc_tool/qt/quarnwin_options.h"
#include "plc_tool/qt/quarnwin_settings.h"
#include "plc_tool/qt/status_line.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace quarnwin {

class AutomationServer;

class CQuarnWinDlg final : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* kTitle = "Rilvo   V 4.0";

    explicit CQuarnWinDlg(QuarnWinOptions options, QWidget* parent = nullptr);
    // Writes the settings back.
    ~CQuarnWinDlg() override;

    // Finds the port (--port, the port chosen with "Port…", else the converter), opens it,
    // reads the settings and empties the log. False when there is no port: no converter was
    // found (the message was shown) and the port choice was cancelled; the program then ends.
    bool Initialise();

    // Ends the dialog on a stop request (SIGINT, SIGTERM), as Escape would, also while an
    // automation client holds it.
    void EndOnStop();

    // While an automation client holds the program, closing hides the dialog instead; when
    // the last client lets go of the hidden dialog, it ends (finished is emitted).
    void setAutomation(AutomationServer* automation);

    QuarnSession& session() { return *session_; }
    QtFrontend& frontend() { return *frontend_; }
    StatusLine& statusLine() { return *status_; }
    const QuarnWinSettings& settings() const { return settings_; }
    QString logFile() const { return programFolder_ + "log.txt"; }
    // The port in use as the dialog shows it.
    QString portName() const;
    const qtshared::PortInUse& port() const { return port_; }

  public slots:
    void OnReset();
    void OnInitEeprom();
    void OnDownload();
    void OnUpload();
    void OnShowVariables();
    void OnShowLog();
    void OnSpeedChanged(int index);
    void OnAbout();
    // "Port…": another port, kept for the next start.
    void OnChoosePort();
    void done(int result) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void BuildControls();
    QString BackupFolder() const;
    bool HeldByAutomation() const;
    qtshared::PortChoice PortChoice();
    void UsePort(const qtshared::PortInUse& port);

    QuarnWinOptions options_;
    QuarnWinSettings settings_;
    bool settingsRead_ = false;
    QString programFolder_;
    StatusLine* status_ = nullptr;
    QLabel* portField_ = nullptr;
    QLabel* portOrigin_ = nullptr;
    qtshared::PortInUse port_;
    QComboBox* speed_ = nullptr;
    QAction* backupBeforeDownload_ = nullptr;
    QAction* verifyAfterDownload_ = nullptr;
    AutomationServer* automation_ = nullptr;
    std::unique_ptr<common::Clock> ownClock_;
    common::Clock* clock_ = nullptr;
    std::unique_ptr<QtFrontend> frontend_;
    std::unique_ptr<serial::SerialDevice> device_;
    std::unique_ptr<QuarnSession> session_;
};

}  // namespace quarnwin
