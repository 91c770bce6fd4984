#include "setup_tool/qt/skellig_dlg.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/platform_serial.h"
#include "qt_shared/core_path.h"
#include "qt_shared/port_dialog.h"
#include "setup_tool/core/text_pages.h"
#include "setup_tool/qt/about_dlg.h"
#include "setup_tool/qt/program_icon.h"
#include "setup_tool/qt/skellig_settings.h"

namespace skellig {

namespace {

constexpr char kSendCaption[] = "      PC\n       ->\nTextdisplay";
constexpr char kInterfaceHint[] =
    "For download the following parameter must be set using the PC-AT keyboard connected at "
    "the text monitor.\n\n9600 baud, 8 data bits, 2 stop bits, no parity";

setup::LocalTime PcLocalTime() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

}  // namespace

TextFileChooser StandardTextFileChooser() {
    return [](QWidget* parent, const QString& proposed) {
        QFileDialog dialog(parent);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setNameFilter("Text file (*.txt)");
        dialog.setDefaultSuffix("txt");
        if (!proposed.isEmpty()) dialog.selectFile(proposed);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return QDir::toNativeSeparators(dialog.selectedFiles().front());  // backslashes on Windows
    };
}

CSkelligDlg::CSkelligDlg(serial::SerialDevice& device, QString portOverride, QWidget* parent)
    : QDialog(parent),
      statusLine_(new StatusLineWidget(this)),
      frontend_(kProgramName, this, statusLine_),
      timeDate_(this),
      sender_(device, frontend_, timeDate_, PcLocalTime),
      portOverride_(std::move(portOverride)),
      chooseTextFile_(StandardTextFileChooser()),
      askPort_(qtshared::StandardPortAsker()) {
    setObjectName("skelligDialog");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    buildControls();
}

CSkelligDlg::~CSkelligDlg() {
    SavePathVyn(lastPath_);
}

void CSkelligDlg::buildControls() {
    auto* file = new QGroupBox("File", this);
    auto* send = new QPushButton(kSendCaption, file);
    send->setObjectName("sendButton");
    send->setAutoDefault(false);
    send->setMinimumHeight(send->fontMetrics().height() * 4);
    auto* fileLayout = new QVBoxLayout(file);
    fileLayout->addWidget(send);

    auto* interface = new QGroupBox("Interface", this);
    portName_ = new QLabel(interface);
    portName_->setObjectName("portName");
    auto* hint = new QLabel(kInterfaceHint, interface);
    hint->setObjectName("interfaceHint");
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignCenter);
    auto* interfaceLayout = new QVBoxLayout(interface);
    portOrigin_ = qtshared::MakePortOriginLabel(interface);
    interfaceLayout->addWidget(portName_);
    interfaceLayout->addWidget(portOrigin_);
    interfaceLayout->addWidget(hint, 1);

    auto* row = new QHBoxLayout;
    row->addWidget(file);
    row->addWidget(interface, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(statusLine_);
    interface->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 44);

    connect(send, &QPushButton::clicked, this, &CSkelligDlg::sendSetup);

    // The desktop's window menu is out of reach, so the About box is on the dialog's own
    // context menu.
    auto* about = new QAction(QString::fromUtf8("Inf&o über Skellig..."), this);
    about->setObjectName("aboutAction");
    connect(about, &QAction::triggered, this, &CSkelligDlg::showAbout);
    addAction(about);
    connect(qtshared::AddPortAction(*this), &QAction::triggered, this, &CSkelligDlg::choosePort);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CSkelligDlg::setPortSources(std::string sysfsRoot, qtshared::PortAsker ask) {
    sysfsRoot_ = std::move(sysfsRoot);
    askPort_ = std::move(ask);
}

qtshared::PortChoice CSkelligDlg::portChoice() {
    return qtshared::PortChoice(
        kSettingsCompany, kSettingsProgram,
        [this] { return serial::FindConverterPort(frontend_, sysfsRoot_); }, askPort_);
}

bool CSkelligDlg::Initialise() {
    setWindowTitle(kDialogTitle);
    lastPath_ = LoadPathVyn();
    setWindowIcon(ProgramIcon());
    std::optional<qtshared::PortInUse> port =
        portChoice().AtStart(this, qtshared::ToCorePath(portOverride_));
    if (!port) return false;
    usePort(*port);
    return true;
}

void CSkelligDlg::choosePort() {
    if (std::optional<qtshared::PortInUse> port = portChoice().ChooseAgain(this, port_))
        usePort(*port);
}

void CSkelligDlg::usePort(const qtshared::PortInUse& port) {
    port_ = port;
    qtshared::ShowPortInUse(port_, *portName_, *portOrigin_);
    if (!sender_.OpenPort(port_.port)) {
        // The dialog runs all the same (every transfer then ends with "No connection"), but
        // the technician learns why instead of only from silence.
        const std::string why = sender_.Link().OpenFailureText();
        if (!why.empty()) frontend_.message(why);
    }
}

void CSkelligDlg::sendSetup() {
    const QString chosen = chooseTextFile_(this, lastPath_);
    if (chosen.isEmpty()) return;
    lastPath_ = chosen;
    // Everything the transfer has to say it has shown: status line and message boxes.
    (void)sender_.SendSetup(setup::SetupPathForTextFile(qtshared::ToFilesystemPath(chosen)));
}

void CSkelligDlg::showAbout() {
    AboutDlg about(windowIcon(), this);
    about.exec();
}

}  // namespace skellig
