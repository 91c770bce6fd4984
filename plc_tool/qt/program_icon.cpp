#include "plc_tool/qt/program_icon.h"

#include "qt_shared/drawn_icon.h"

namespace quarnwin {

namespace {

void DrawModule(QPainter& p) {
    // The module housing.
    p.setPen(QPen(QColor(30, 30, 30), 1.2));
    p.setBrush(QColor(70, 90, 120));
    p.drawRoundedRect(QRectF(4, 2, 24, 28), 2.5, 2.5);
    // The front label strip.
    p.setBrush(QColor(225, 225, 215));
    p.drawRect(QRectF(8, 5, 16, 6));
    // Status lamps: run (green), error (red), link (yellow).
    const QColor lamps[] = {QColor(40, 200, 60), QColor(220, 40, 40), QColor(240, 200, 40)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(lamps[i]);
        p.drawEllipse(QPointF(10 + 6 * i, 16), 2, 2);
    }
    // The terminal row along the bottom.
    p.setBrush(QColor(200, 200, 200));
    for (int i = 0; i < 5; ++i) p.drawRect(QRectF(7 + 4 * i, 22, 2.6, 5));
}

}  // namespace

QIcon ProgramIcon() {
    return qtshared::DrawnIcon(DrawModule);
}

}  // namespace quarnwin
