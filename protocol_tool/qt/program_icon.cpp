#include "protocol_tool/qt/program_icon.h"

#include "qt_shared/drawn_icon.h"

namespace vantor {

namespace {

void DrawProtocolSheet(QPainter& p) {
    // The protocol sheet with a folded corner.
    p.setPen(QPen(QColor(30, 30, 30), 1.2));
    p.setBrush(QColor(250, 250, 245));
    const QPointF sheet[] = {{3, 1.5}, {17, 1.5}, {22, 6.5}, {22, 30.5}, {3, 30.5}};
    p.drawPolygon(sheet, 5);
    p.drawLine(QPointF(17, 1.5), QPointF(17, 6.5));
    p.drawLine(QPointF(17, 6.5), QPointF(22, 6.5));
    // Its entries: a number column and a text column.
    p.setPen(QPen(QColor(40, 70, 160), 1.6));
    for (int i = 0; i < 5; ++i) {
        const double y = 10 + 4 * i;
        p.drawLine(QPointF(5.5, y), QPointF(8, y));
        p.drawLine(QPointF(10, y), QPointF(i % 2 ? 16 : 19.5, y));
    }
    // The statistics: three bars in front of the sheet's corner.
    p.setPen(QPen(QColor(30, 30, 30), 1.0));
    const QColor bars[] = {QColor(220, 60, 40), QColor(240, 180, 30), QColor(50, 170, 70)};
    const double heights[] = {9, 15, 12};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(bars[i]);
        p.drawRect(QRectF(17.5 + 4.5 * i, 30.5 - heights[i], 4, heights[i]));
    }
}

}  // namespace

QIcon ProgramIcon() {
    return qtshared::DrawnIcon(DrawProtocolSheet);
}

}  // namespace vantor
