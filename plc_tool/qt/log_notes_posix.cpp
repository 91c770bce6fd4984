#include "plc_tool/qt/log_notes.h"

namespace quarnwin {

const char* LogNotes() {
    return "The transfer log log.txt lives beside the program when it runs from a build or a\n"
           "folder of its own; installed under a prefix such as /usr it lives in the per-user\n"
           "data folder (~/.local/share/Hadrel/QuarnWin/log.txt), shared with quarnctl.";
}

}  // namespace quarnwin
