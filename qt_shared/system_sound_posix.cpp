#include <QApplication>

#include "qt_shared/system_sound.h"

namespace qtshared {

void PlayExclamation() {
    QApplication::beep();
}

}  // namespace qtshared
