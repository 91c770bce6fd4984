#include "plc_tool/qt/about_box.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

#include "plc_tool/qt/program_icon.h"

namespace quarnwin {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("Info über Rilvo"));
    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(new QLabel("Rilvo Version 4.0", this), 0, 1);
    layout->addWidget(new QLabel("Hadrel - programming and monitoring of Quarn PLCs", this), 1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace quarnwin
