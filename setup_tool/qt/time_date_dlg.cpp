#include "setup_tool/qt/time_date_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace skellig {

namespace {
QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
std::string S(const QString& text) {
    return text.toStdString();
}
}  // namespace

QLineEdit* CTimeDateDlg::field(const char* name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setAlignment(Qt::AlignCenter);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    return edit;
}

CTimeDateDlg::CTimeDateDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("timeDateDialog");
    setWindowTitle("Time / Date");
    hours_ = field("hours");
    minutes_ = field("minutes");
    seconds_ = field("seconds");
    day_ = field("day");
    month_ = field("month");
    year_ = field("year");
    rule_ = new QComboBox(this);
    rule_->setObjectName("daylightSaving");
    for (const char* entry : setup::kDaylightSavingEntries) rule_->addItem(entry);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Time:", this), 0, 0);
    grid->addWidget(hours_, 0, 1);
    grid->addWidget(minutes_, 0, 2);
    grid->addWidget(seconds_, 0, 3);
    grid->addWidget(new QLabel("hh mm ss", this), 0, 4);
    grid->addWidget(new QLabel("Date:", this), 1, 0);
    grid->addWidget(day_, 1, 1);
    grid->addWidget(month_, 1, 2);
    grid->addWidget(year_, 1, 3);
    grid->addWidget(new QLabel("dd mm yyyy", this), 1, 4);
    grid->addWidget(new QLabel("Daylight saving", this), 2, 0);
    grid->addWidget(rule_, 2, 1, 1, 4);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void CTimeDateDlg::setEntry(const setup::ClockEntry& e) {
    hours_->setText(Q(e.hours));
    minutes_->setText(Q(e.minutes));
    seconds_->setText(Q(e.seconds));
    day_->setText(Q(e.day));
    month_->setText(Q(e.month));
    year_->setText(Q(e.year));
    rule_->setCurrentIndex(e.rule);
}

setup::ClockEntry CTimeDateDlg::entry() const {
    setup::ClockEntry e;
    e.hours = S(hours_->text());
    e.minutes = S(minutes_->text());
    e.seconds = S(seconds_->text());
    e.day = S(day_->text());
    e.month = S(month_->text());
    e.year = S(year_->text());
    e.rule = rule_->currentIndex();
    return e;
}

std::optional<setup::ClockEntry> QtTimeDate::show(const setup::ClockEntry& prefilled) {
    CTimeDateDlg dialog(parent_);
    dialog.setEntry(prefilled);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.entry();
}

}  // namespace skellig
