#pragma once
// CVantorDlg, the program's main dialog: five buttons for the display's protocol and
// statistics and the conversion, the check box Translate to Cyrillic, the Interface box with
// the port, and the status line. It owns the CProtocolReader that talks to the display.
#include <QDialog>
#include <QString>

#include "link/serial_device.h"
#include "protocol_tool/core/protocol_reader.h"
#include "protocol_tool/core/vantor_settings.h"
#include "protocol_tool/qt/file_dialogs.h"
#include "qt_shared/dialog_frontend.h"
#include "qt_shared/port_choice.h"
#include "qt_shared/status_line_widget.h"

class QCheckBox;
class QLabel;

namespace vantor {

inline constexpr char kProgramName[] = "Vantor";
using qtshared::StatusLineWidget;
using qtshared::ToDisplayText;

inline constexpr char kDialogTitle[] = "Vantor   V 4.0";

class CVantorDlg : public QDialog {
    Q_OBJECT
  public:
    // portOverride: a port path given with --port; empty for the converter's port.
    CVantorDlg(serial::SerialDevice& device, QString portOverride, QWidget* parent = nullptr);
    // Writes the settings.
    ~CVantorDlg() override;

    // Reads the settings, finds and opens the port. False when there is no port: no
    // converter was found (the message has been shown) and the port choice was cancelled;
    // the program then ends.
    bool Initialise();

    // Where the port list and the converter search look, and how a port is asked for; the
    // machine's own and the port dialog unless replaced (tests).
    void setPortSources(std::string sysfsRoot, qtshared::PortAsker ask);
    const qtshared::PortInUse& port() const { return port_; }

    void setFileDialogs(FileDialogs dialogs) { fileDialogs_ = std::move(dialogs); }
    protocol::CProtocolReader& reader() { return reader_; }
    const StatusLineWidget& statusLine() const { return *statusLine_; }

  public slots:
    void getProtocol();
    void getStatistics();
    void clearProtocol();
    void clearStatistics();
    void convertProtocol();
    void showAbout();
    // "Port…": another port, kept for the next start.
    void choosePort();

  private:
    void buildControls();
    qtshared::PortChoice portChoice();
    void usePort(const qtshared::PortInUse& port);
    // The check box's state becomes the one the settings keep.
    void takeOverControls();

    StatusLineWidget* statusLine_;
    qtshared::DialogFrontend frontend_;
    protocol::CProtocolReader reader_;
    QString portOverride_;
    protocol::VantorSettings settings_;
    FileDialogs fileDialogs_;
    QLabel* portName_ = nullptr;
    QCheckBox* cyrillic_ = nullptr;
    QLabel* portOrigin_ = nullptr;
    std::string sysfsRoot_ = "/sys";
    qtshared::PortAsker askPort_;
    qtshared::PortInUse port_;
};

}  // namespace vantor
