#include "qt_shared/status_line_widget.h"

#include <QApplication>
#include <QPainter>

#include "qt_shared/paint_pump.h"

namespace qtshared {

namespace {
constexpr int kTextIndent = 8;  // pixels right of the line's left edge
}

StatusLineWidget::StatusLineWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("statusLine");
    setMinimumHeight(fontMetrics().height() * 2);
}

void StatusLineWidget::showText(const QString& text) {
    text_ = text.left(kMaxLength);
    repaint();
    DispatchPendingPaints(*window());
}

void StatusLineWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::ToolTipBase));
    // Black, whatever colour the desktop's theme gives tooltip texts.
    painter.setPen(Qt::black);
    const QRect area = rect().adjusted(kTextIndent, 0, 0, 0);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text_);
}

}  // namespace qtshared
