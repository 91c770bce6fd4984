#include "plc_tool/qt/log_notes.h"

namespace quarnwin {

const char* LogNotes() {
    return "The transfer log log.txt lives beside QuarnWin.exe when that folder may be written\n"
           "and the program is not installed under Program Files, else in\n"
           "%LOCALAPPDATA%\\Hadrel\\QuarnWin, shared with quarnctl.";
}

}  // namespace quarnwin
