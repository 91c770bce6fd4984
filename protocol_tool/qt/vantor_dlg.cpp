#include "protocol_tool/qt/vantor_dlg.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "link/platform_serial.h"
#include "protocol_tool/core/convert_to_xls.h"
#include "protocol_tool/qt/about_dlg.h"
#include "protocol_tool/qt/protocol_dlg.h"
#include "protocol_tool/qt/settings_store.h"

namespace vantor {

namespace {

constexpr char kInterfaceHint[] =
    "For download the following parameter must be set using the PC-AT keyboard connected at "
    "the text monitor.\n\n9600 baud, 8 data bits, 2 stop bits, no parity";

QPushButton* Button(const char* caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setMinimumHeight(button->fontMetrics().height() * 3);
    return button;
}

}  // namespace

CVantorDlg::CVantorDlg(serial::SerialDevice& device, QString portOverride, QWidget* parent)
    : QDialog(parent),
      statusLine_(new StatusLineWidget(this)),
      frontend_(kProgramName, this, statusLine_),
      reader_(device, frontend_),
      portOverride_(std::move(portOverride)),
      fileDialogs_(FileDialogs::Standard()) {
    setObjectName("vantorDialog");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    buildControls();
}

CVantorDlg::~CVantorDlg() {
    settings_.mode = reader_.Mode();
    settings_.cnt = reader_.Cnt();
    SaveSettings(settings_);
}

void CVantorDlg::buildControls() {
    auto* buttons = new QGroupBox(this);
    auto* getProtocolButton = Button("    Get\nProtocol", "getProtocolButton", buttons);
    auto* getStatisticsButton = Button("    Get\nStatistics", "getStatisticsButton", buttons);
    auto* clearProtocolButton = Button("  Clear\nProtocol", "clearProtocolButton", buttons);
    auto* clearStatisticsButton = Button("   Clear\nStatistics", "clearStatisticsButton", buttons);
    auto* convertButton = Button("    Convert\nprotocol to xls", "convertButton", buttons);
    cyrillic_ = new QCheckBox("Translate\n to Cyrillic", buttons);
    cyrillic_->setObjectName("cyrillicCheck");
    auto* buttonGrid = new QGridLayout(buttons);
    buttonGrid->addWidget(getProtocolButton, 0, 0);
    buttonGrid->addWidget(getStatisticsButton, 0, 1);
    buttonGrid->addWidget(clearProtocolButton, 1, 0);
    buttonGrid->addWidget(clearStatisticsButton, 1, 1);
    buttonGrid->addWidget(convertButton, 2, 0);
    buttonGrid->addWidget(cyrillic_, 2, 1);

    auto* interface = new QGroupBox("Interface", this);
    portName_ = new QLabel(interface);
    portName_->setObjectName("portName");
    auto* hint = new QLabel(kInterfaceHint, interface);
    hint->setWordWrap(true);
    auto* interfaceLayout = new QVBoxLayout(interface);
    interfaceLayout->addWidget(portName_);
    interfaceLayout->addWidget(hint, 1);

    auto* layout = new QGridLayout(this);
    layout->addWidget(buttons, 0, 0);
    layout->addWidget(interface, 0, 1);
    layout->addWidget(statusLine_, 1, 0, 1, 2);
    interface->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);

    connect(getProtocolButton, &QPushButton::clicked, this, &CVantorDlg::getProtocol);
    connect(getStatisticsButton, &QPushButton::clicked, this, &CVantorDlg::getStatistics);
    connect(clearProtocolButton, &QPushButton::clicked, this, &CVantorDlg::clearProtocol);
    connect(clearStatisticsButton, &QPushButton::clicked, this, &CVantorDlg::clearStatistics);
    connect(convertButton, &QPushButton::clicked, this, &CVantorDlg::convertProtocol);

    // The desktop's window menu is out of reach, so the About box is on the dialog's own
    // context menu.
    auto* about = new QAction(QString::fromUtf8("Inf&o über Vantor..."), this);
    about->setObjectName("aboutAction");
    connect(about, &QAction::triggered, this, &CVantorDlg::showAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

bool CVantorDlg::Initialise() {
    setWindowTitle(kDialogTitle);
    settings_ = LoadSettings();
    reader_.SetMode(settings_.mode);
    reader_.SetCnt(settings_.cnt);

    std::string port = portOverride_.toStdString();
    if (port.empty()) port = serial::FindConverterPort(frontend_);
    if (port.empty()) return false;

    portName_->setText(QString::fromStdString(port));
    cyrillic_->setChecked(settings_.cyrillic != 0);
    if (!reader_.Link().Open(port)) {
        // The dialog runs all the same (every retrieval then ends as "No data"), but the
        // technician learns why, instead of only from silence.
        const std::string why = reader_.Link().OpenFailureText();
        if (!why.empty()) frontend_.message(why);
    }
    setWindowIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    reader_.Status().Set("");
    return true;
}

std::filesystem::path CVantorDlg::ToPath(const QString& path) const {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

void CVantorDlg::takeOverControls() {
    settings_.cyrillic = cyrillic_->isChecked() ? 1 : 0;
}

void CVantorDlg::getProtocol() {
    takeOverControls();
    const QString path =
        fileDialogs_.saveProtocol(this, QString::fromStdString(settings_.protocolPath));
    if (path.isEmpty()) return;
    settings_.protocolPath = path.toStdString();
    // The outcome is on the screen already: status line, and messages where a file failed.
    reader_.GetProtocol(ToPath(path), settings_.cyrillic != 0,
                        [this](const protocol::ProtocolChoice& current) {
                            return CProtocolDlg::Ask(current, this);
                        });
}

void CVantorDlg::getStatistics() {
    const QString path =
        fileDialogs_.saveStatistics(this, QString::fromStdString(settings_.statisticsPath));
    if (path.isEmpty()) return;
    settings_.statisticsPath = path.toStdString();
    reader_.GetStatistics(ToPath(path));
}

void CVantorDlg::clearProtocol() {
    reader_.ClearProtocol();
}

void CVantorDlg::clearStatistics() {
    reader_.ClearStatistics();
}

void CVantorDlg::convertProtocol() {
    takeOverControls();
    const QString path =
        fileDialogs_.openProtocol(this, QString::fromStdString(settings_.protocolPath));
    if (path.isEmpty()) return;
    settings_.protocolPath = path.toStdString();
    // A spreadsheet that can't be created shows no message here: the status line stays at
    // "Convert to ..." instead of "Convert ready". Every other failure was shown already.
    protocol::ConvertToXls(ToPath(path), settings_.cyrillic != 0, reader_.Status(), frontend_);
}

void CVantorDlg::showAbout() {
    AboutDlg about(windowIcon(), this);
    about.exec();
}

}  // namespace vantor
