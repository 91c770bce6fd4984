#pragma once
// The program's icon: the display's protocol as a printed list with a statistics bar chart
// beside it, drawn at the sizes window managers ask for.
#include <QIcon>

namespace vantor {

QIcon ProgramIcon();

}  // namespace vantor
