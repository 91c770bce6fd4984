#include "protocol_tool/qt/vantor_dlg.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/platform_serial.h"
#include "protocol_tool/core/convert_to_xls.h"
#include "protocol_tool/qt/about_dlg.h"
#include "protocol_tool/qt/program_icon.h"
#include "protocol_tool/qt/protocol_dlg.h"
#include "protocol_tool/qt/settings_store.h"
#include "qt_shared/core_path.h"
#include "qt_shared/port_dialog.h"

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
      fileDialogs_(FileDialogs::Standard()),
      askPort_(qtshared::StandardPortAsker()) {
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
    portOrigin_ = qtshared::MakePortOriginLabel(interface);
    interfaceLayout->addWidget(portName_);
    interfaceLayout->addWidget(portOrigin_);
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
    connect(qtshared::AddPortAction(*this), &QAction::triggered, this, &CVantorDlg::choosePort);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CVantorDlg::setPortSources(std::string sysfsRoot, qtshared::PortAsker ask) {
    sysfsRoot_ = std::move(sysfsRoot);
    askPort_ = std::move(ask);
}

qtshared::PortChoice CVantorDlg::portChoice() {
    return qtshared::PortChoice(
        protocol::kSettingsCompany, protocol::kSettingsProgram,
        [this] { return serial::FindConverterPort(frontend_, sysfsRoot_); }, askPort_);
}

bool CVantorDlg::Initialise() {
    setWindowTitle(kDialogTitle);
    settings_ = LoadSettings();
    reader_.SetMode(settings_.mode);
    reader_.SetCnt(settings_.cnt);

    setWindowIcon(ProgramIcon());
    std::optional<qtshared::PortInUse> port =
        portChoice().AtStart(this, qtshared::ToCorePath(portOverride_));
    if (!port) return false;

    cyrillic_->setChecked(settings_.cyrillic != 0);
    usePort(*port);
    reader_.Status().Set("");
    return true;
}

void CVantorDlg::choosePort() {
    if (std::optional<qtshared::PortInUse> port = portChoice().ChooseAgain(this, port_))
        usePort(*port);
}

void CVantorDlg::usePort(const qtshared::PortInUse& port) {
    port_ = port;
    qtshared::ShowPortInUse(port_, *portName_, *portOrigin_);
    if (!reader_.Link().Open(port_.port)) {
        // The dialog runs all the same (every retrieval then ends as "No data"), but the
        // technician learns why, instead of only from silence.
        const std::string why = reader_.Link().OpenFailureText();
        if (!why.empty()) frontend_.message(why);
    }
}

void CVantorDlg::takeOverControls() {
    settings_.cyrillic = cyrillic_->isChecked() ? 1 : 0;
}

void CVantorDlg::getProtocol() {
    takeOverControls();
    const QString path =
        fileDialogs_.saveProtocol(this, qtshared::FromCorePath(settings_.protocolPath));
    if (path.isEmpty()) return;
    settings_.protocolPath = qtshared::ToCorePath(path);
    // The outcome is on the screen already: status line, and messages where a file failed.
    reader_.GetProtocol(qtshared::ToFilesystemPath(path), settings_.cyrillic != 0,
                        [this](const protocol::ProtocolChoice& current) {
                            return CProtocolDlg::Ask(current, this);
                        });
}

void CVantorDlg::getStatistics() {
    const QString path =
        fileDialogs_.saveStatistics(this, qtshared::FromCorePath(settings_.statisticsPath));
    if (path.isEmpty()) return;
    settings_.statisticsPath = qtshared::ToCorePath(path);
    reader_.GetStatistics(qtshared::ToFilesystemPath(path));
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
        fileDialogs_.openProtocol(this, qtshared::FromCorePath(settings_.protocolPath));
    if (path.isEmpty()) return;
    settings_.protocolPath = qtshared::ToCorePath(path);
    // A spreadsheet that can't be created shows no message here: the status line stays at
    // "Convert to ..." instead of "Convert ready". Every other failure was shown already.
    protocol::ConvertToXls(qtshared::ToFilesystemPath(path), settings_.cyrillic != 0,
                           reader_.Status(), frontend_);
}

void CVantorDlg::showAbout() {
    AboutDlg about(windowIcon(), this);
    about.exec();
}

}  // namespace vantor
