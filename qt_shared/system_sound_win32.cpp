#include <windows.h>
// windows.h first: mmsystem.h needs its types.
#include <mmsystem.h>

#include <QApplication>

#include "qt_shared/system_sound.h"

namespace qtshared {

void PlayExclamation() {
    // The user may have switched the sound off; the bell stands in only when the alias
    // cannot be played at all (no sound device).
    if (!PlaySoundW(L"SystemExclamation", nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT))
        QApplication::beep();
}

}  // namespace qtshared
