#include "qt_shared/port_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "link/platform_serial.h"
#include "link/port_url.h"
#include "qt_shared/core_path.h"

namespace qtshared {

namespace {
constexpr char kTitle[] = "Port";
constexpr char kNetworkHint[] =
    "A serial port of this PC, or a device server on the network:\n"
    "rfc2217://HOST:PORT (the line is set by the program) or\n"
    "socket://HOST:PORT (the line as the server sets it).";
}  // namespace

PortDialog::PortDialog(const std::vector<serial::PortInfo>& ports, const QString& current,
                       QWidget* parent)
    : QDialog(parent),
      converter_(new QRadioButton("USB-serial converter, found at start", this)),
      named_(new QRadioButton("This port:", this)),
      field_(new QComboBox(this)) {
    setObjectName("portDialog");
    setWindowTitle(kTitle);
    converter_->setObjectName("converterChoice");
    named_->setObjectName("namedChoice");
    field_->setObjectName("portField");
    field_->setEditable(true);
    field_->setInsertPolicy(QComboBox::NoInsert);
    field_->setMinimumContentsLength(28);
    for (const serial::PortInfo& info : ports) {
        const QString name = FromCorePath(info.name);
        field_->addItem(
            info.description.empty() ? name : name + "  (" + FromCorePath(info.description) + ")",
            name);
    }
    // The list's entries show descriptions; the field holds the bare name.
    connect(field_, &QComboBox::activated, this, [this](int index) {
        field_->setEditText(field_->itemData(index).toString());
        named_->setChecked(true);
    });
    connect(field_->lineEdit(), &QLineEdit::textEdited, this, [this] { named_->setChecked(true); });
    field_->setEditText(current);
    (current.isEmpty() ? converter_ : named_)->setChecked(true);

    auto* hint = new QLabel(kNetworkHint, this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PortDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PortDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(converter_);
    layout->addWidget(named_);
    layout->addWidget(field_);
    layout->addWidget(hint);
    layout->addWidget(buttons);
}

QString PortDialog::port() const {
    return converter_->isChecked() ? QString() : field_->currentText().trimmed();
}

void PortDialog::accept() {
    if (named_->isChecked() && port().isEmpty()) {
        QMessageBox::warning(this, kTitle, "Name a port, or choose the USB-serial converter.");
        field_->setFocus();
        return;
    }
    // A network address that can't be reached as written is refused here, with the same
    // sentence the command-line tools give for it.
    const std::string problem = serial::ValidatePortString(ToCorePath(port()));
    if (named_->isChecked() && !problem.empty()) {
        QMessageBox::warning(this, kTitle, QString::fromStdString(problem));
        field_->setFocus();
        return;
    }
    QDialog::accept();
}

PortAsker StandardPortAsker(std::string sysfsRoot) {
    return [root = std::move(sysfsRoot)](QWidget* parent,
                                         const QString& current) -> std::optional<QString> {
        PortDialog dialog(serial::ListPorts(root), current, parent);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.port();
    };
}

}  // namespace qtshared

namespace qtshared {

void ShowPortInUse(const PortInUse& port, QLabel& name, QLabel& origin) {
    const QString text = FromCorePath(port.port);
    name.setText(text);
    name.setToolTip(text);
    origin.setText(PortOriginText(port.origin));
    origin.setVisible(port.origin != PortOrigin::Converter);
}

QLabel* MakePortOriginLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName("portOrigin");
    label->setVisible(false);
    return label;
}

QAction* AddPortAction(QWidget& window) {
    auto* port = new QAction(kPortMenuText, &window);
    port->setObjectName("portAction");
    window.addAction(port);
    return port;
}

}  // namespace qtshared
