#include "plc_tool/qt/caption_fit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <algorithm>

namespace quarnwin {

namespace {

int WidestLine(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split('\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

void Check(QStringList& cut, const QWidget& control, const QString& caption, int room) {
    const int needed = WidestLine(control.fontMetrics(), caption);
    if (needed > room)
        cut << QString("%1: %2 (%3 > %4)").arg(control.objectName(), caption).arg(needed).arg(room);
}

int ButtonRoom(const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    return button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button).width();
}

int GroupTitleRoom(const QGroupBox& box) {
    // The title sits inside the frame, indented from its left end.
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    const QRect label =
        box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
    return box.width() - 2 * std::max(0, label.left());
}

int ComboRoom(const QComboBox& combo) {
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    return combo.style()
        ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &combo)
        .width();
}

}  // namespace

QStringList CutCaptions(const QWidget& window) {
    QStringList cut;
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        Check(cut, *button, button->text(), ButtonRoom(*button));
    for (const QLabel* label : window.findChildren<QLabel*>())
        Check(cut, *label, label->text(), label->contentsRect().width());
    for (const QGroupBox* box : window.findChildren<QGroupBox*>())
        Check(cut, *box, box->title(), GroupTitleRoom(*box));
    for (const QComboBox* combo : window.findChildren<QComboBox*>())
        for (int i = 0; i < combo->count(); ++i)
            Check(cut, *combo, combo->itemText(i), ComboRoom(*combo));
    return cut;
}

}  // namespace quarnwin
