#pragma once
// CSkelligDlg, the program's main dialog: the send button, the Interface box with the
// port and the line values the display must be set to, and the status line. It owns the
// CSetupSender that talks to the display.
#include <QDialog>
#include <QString>
#include <functional>

#include "link/serial_device.h"
#include "qt_shared/dialog_frontend.h"
#include "qt_shared/port_choice.h"
#include "qt_shared/status_line_widget.h"
#include "setup_tool/core/setup_sender.h"
#include "setup_tool/qt/time_date_dlg.h"

class QLabel;

namespace skellig {

inline constexpr char kProgramName[] = "Skellig";
using qtshared::StatusLineWidget;
using qtshared::ToDisplayText;

inline constexpr char kDialogTitle[] = "Tessel   V 4.0";

// Asks for the text file to send, proposing the last one; an empty text when cancelled.
using TextFileChooser = std::function<QString(QWidget* parent, const QString& proposed)>;
TextFileChooser StandardTextFileChooser();

class CSkelligDlg final : public QDialog {
    Q_OBJECT
  public:
    // portOverride: a port path given with --port; empty for the converter's port.
    CSkelligDlg(serial::SerialDevice& device, QString portOverride, QWidget* parent = nullptr);
    // Writes "PathVYN".
    ~CSkelligDlg() override;

    // Reads the setting, finds and opens the port. False when there is no port: no
    // converter was found (the message has been shown) and the port choice was cancelled;
    // the program then ends.
    bool Initialise();

    // Where the port list and the converter search look, and how a port is asked for; the
    // machine's own and the port dialog unless replaced (tests).
    void setPortSources(std::string sysfsRoot, qtshared::PortAsker ask);
    const qtshared::PortInUse& port() const { return port_; }

    void setTextFileChooser(TextFileChooser chooser) { chooseTextFile_ = std::move(chooser); }
    const StatusLineWidget& statusLine() const { return *statusLine_; }
    const QString& lastPath() const { return lastPath_; }

  public slots:
    // The send button: choose a text file, send its setup.
    void sendSetup();
    void showAbout();
    // "Port…": another port, kept for the next start.
    void choosePort();

  private:
    void buildControls();
    qtshared::PortChoice portChoice();
    void usePort(const qtshared::PortInUse& port);

    StatusLineWidget* statusLine_;
    qtshared::DialogFrontend frontend_;
    QtTimeDate timeDate_;
    setup::CSetupSender sender_;
    QString portOverride_;
    QString lastPath_;
    TextFileChooser chooseTextFile_;
    QLabel* portName_ = nullptr;
    QLabel* portOrigin_ = nullptr;
    std::string sysfsRoot_ = "/sys";
    qtshared::PortAsker askPort_;
    qtshared::PortInUse port_;
};

}  // namespace skellig
