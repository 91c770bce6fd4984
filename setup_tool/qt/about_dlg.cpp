#include "setup_tool/qt/about_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace skellig {

AboutDlg::AboutDlg(const QIcon& icon, QWidget* parent) : QDialog(parent) {
    setObjectName("aboutDialog");
    setWindowTitle(QString::fromUtf8("Info über Tessel"));
    auto* picture = new QLabel(this);
    picture->setPixmap(icon.pixmap(32, 32));
    auto* name = new QLabel("Tessel Version 4.0", this);
    auto* further = new QLabel("Sends a text display's setup and text pages", this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(further);
    auto* row = new QHBoxLayout;
    row->addWidget(picture);
    row->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

}  // namespace skellig
