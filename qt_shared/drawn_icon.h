#pragma once
// A program's icon drawn in code on a 32 x 32 canvas, rendered at the sizes window managers
// (and the Windows .ico files) ask for.
#include <QIcon>
#include <QPainter>
#include <functional>

namespace qtshared {

// draw paints on an antialiased, transparent canvas scaled to 32 x 32 units.
QIcon DrawnIcon(const std::function<void(QPainter&)>& draw);

}  // namespace qtshared
