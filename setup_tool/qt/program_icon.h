#pragma once
// The program's icon: a text display with its lines of text and the setup arriving from the
// PC, drawn at the sizes window managers ask for.
#include <QIcon>

namespace skellig {

QIcon ProgramIcon();

}  // namespace skellig
