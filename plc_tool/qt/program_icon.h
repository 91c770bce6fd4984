#pragma once
// The program's icon: a PLC module with its status lamps, drawn at the sizes window
// managers ask for.
#include <QIcon>

namespace quarnwin {

QIcon ProgramIcon();

}  // namespace quarnwin
