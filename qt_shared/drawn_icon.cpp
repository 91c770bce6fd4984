#include "qt_shared/drawn_icon.h"

#include <QPixmap>

namespace qtshared {

namespace {
constexpr double kCanvasUnits = 32.0;
constexpr int kSizes[] = {16, 24, 32, 48, 64, 128};
}  // namespace

QIcon DrawnIcon(const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (const int size : kSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        {
            QPainter p(&pixmap);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(size / kCanvasUnits, size / kCanvasUnits);
            draw(p);
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace qtshared
