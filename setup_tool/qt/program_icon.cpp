#include "setup_tool/qt/program_icon.h"

#include "qt_shared/drawn_icon.h"

namespace skellig {

namespace {

void DrawDisplay(QPainter& p) {
    // The display's housing and its dark glass.
    p.setPen(QPen(QColor(30, 30, 30), 1.2));
    p.setBrush(QColor(150, 155, 165));
    p.drawRoundedRect(QRectF(1.5, 5, 29, 20), 2.5, 2.5);
    p.setBrush(QColor(20, 35, 25));
    p.drawRect(QRectF(4, 8, 24, 14));
    // Two lines of text in the display's green, the second one shorter.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 230, 110));
    for (int i = 0; i < 5; ++i) p.drawRect(QRectF(6 + 4.2 * i, 10.5, 3, 3.5));
    for (int i = 0; i < 3; ++i) p.drawRect(QRectF(6 + 4.2 * i, 16, 3, 3.5));
    // The setup going in: an arrow down into the housing's foot.
    p.setBrush(QColor(230, 150, 20));
    p.setPen(QPen(QColor(30, 30, 30), 1.0));
    const QPointF arrow[] = {{21, 19},   {29, 19},   {29, 25}, {31.5, 25},
                             {25, 31.5}, {18.5, 25}, {21, 25}};
    p.drawPolygon(arrow, 7);
}

}  // namespace

QIcon ProgramIcon() {
    return qtshared::DrawnIcon(DrawDisplay);
}

}  // namespace skellig
