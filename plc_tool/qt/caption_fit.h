#pragma once
// Which captions of a window do not fit their controls with the window's font and style:
// push buttons, labels, group box titles and combo box entries, each line measured against
// the room the style gives the text. The main dialog's layout is checked with it by the
// tests and by the screenshot tool.
#include <QStringList>
#include <QWidget>

namespace quarnwin {

// "name: caption (needed > room)" for every caption that would be cut; empty when all fit.
QStringList CutCaptions(const QWidget& window);

}  // namespace quarnwin
