#include "setup_tool/qt/skellig_dlg.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "link/platform_serial.h"
#include "setup_tool/core/text_pages.h"
#include "setup_tool/qt/about_dlg.h"
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
      chooseTextFile_(StandardTextFileChooser()) {
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
    interfaceLayout->addWidget(portName_);
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
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

bool CSkelligDlg::Initialise() {
    setWindowTitle(kDialogTitle);
    lastPath_ = LoadPathVyn();
    std::string port = portOverride_.toStdString();
    if (port.empty()) port = serial::FindConverterPort(frontend_);
    if (port.empty()) return false;
    portName_->setText(ToDisplayText(port));
    if (!sender_.OpenPort(port)) {
        // The dialog runs all the same (every transfer then ends with "No connection"), but
        // the technician learns why instead of only from silence.
        serial::OpenError error = sender_.Link().LastOpenError();
        if (error != serial::OpenError::None)
            frontend_.message(serial::DescribeOpenError(error, sender_.Link().DevicePath()));
    }
    setWindowIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    return true;
}

void CSkelligDlg::sendSetup() {
    const QString chosen = chooseTextFile_(this, lastPath_);
    if (chosen.isEmpty()) return;
    lastPath_ = chosen;
    const std::string path = QFile::encodeName(chosen).toStdString();
    // Everything the transfer has to say it has shown: status line and message boxes.
    (void)sender_.SendSetup(setup::SetupPathForTextFile(path));
}

void CSkelligDlg::showAbout() {
    AboutDlg about(windowIcon(), this);
    about.exec();
}

}  // namespace skellig
