#include "plc_tool/qt/status_line.h"

#include <QApplication>
#include <QPainter>

#include "qt_shared/paint_pump.h"
#include "qt_shared/system_sound.h"

namespace quarnwin {

namespace {
constexpr int kTextIndent = 8;
}  // namespace

StatusLine::StatusLine(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void StatusLine::draw(const QString& text, Form form) {
    text_ = text.left(kMaxLength);
    // Let the windows repaint what is waiting, so the dialog (and the variables window)
    // stays drawn while an operation blocks the thread. Clicks and keys stay queued, and a
    // close of the dialog waits until the operation has ended.
    qtshared::DispatchPendingPaints(*window());
    drawing_ = form;
    repaint();
    drawing_ = Form::Normal;
    if (form == Form::ErrorWithSound) qtshared::PlayExclamation();
    emit drawn(text_, static_cast<int>(form));
}

void StatusLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::ToolTipBase));
    // Only the drawing of a new error text is red; a repaint shows the same text in black.
    lastColour_ = drawing_ == Form::Normal ? QColor(0, 0, 0) : QColor(255, 0, 0);
    painter.setPen(lastColour_);
    painter.drawText(rect().adjusted(kTextIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, text_);
}

}  // namespace quarnwin
