#include "protocol_tool/qt/protocol_dlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "protocol_tool/core/cnt_validation.h"
#include "protocol_tool/qt/vantor_dlg.h"

namespace vantor {

CProtocolDlg::CProtocolDlg(const protocol::ProtocolChoice& current, QWidget* parent)
    : QDialog(parent) {
    setObjectName("protocolDialog");
    setWindowTitle("Protocol");
    upTo_ = new QRadioButton("Protocol up to no:", this);
    upTo_->setObjectName("protocolUpTo");
    newEntries_ = new QRadioButton("New protocol entries", this);
    newEntries_->setObjectName("newProtocolEntries");
    auto* group = new QButtonGroup(this);
    group->addButton(upTo_, protocol::kModeUpTo);
    group->addButton(newEntries_, protocol::kModeNewEntries);
    number_ = new QLineEdit(QString::number(current.cnt), this);
    number_->setObjectName("protocolNumber");
    (current.mode == protocol::kModeUpTo ? upTo_ : newEntries_)->setChecked(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CProtocolDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CProtocolDlg::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(upTo_, 0, 0);
    layout->addWidget(number_, 0, 1);
    layout->addWidget(newEntries_, 1, 0, 1, 2);
    layout->addWidget(buttons, 2, 0, 1, 2);
}

void CProtocolDlg::accept() {
    auto checked = protocol::ValidateCnt(number_->text().toStdString());
    if (const auto* message = std::get_if<std::string>(&checked)) {
        QMessageBox box(QMessageBox::Warning, kProgramName, QString::fromStdString(*message),
                        QMessageBox::Ok, this);
        box.exec();
        number_->setFocus();
        number_->selectAll();
        return;
    }
    choice_ = protocol::ProtocolChoice{
        upTo_->isChecked() ? protocol::kModeUpTo : protocol::kModeNewEntries,
        std::get<int>(checked)};
    QDialog::accept();
}

std::optional<protocol::ProtocolChoice> CProtocolDlg::Ask(const protocol::ProtocolChoice& current,
                                                          QWidget* parent) {
    CProtocolDlg dialog(current, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.choice();
}

}  // namespace vantor
