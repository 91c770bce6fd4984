#pragma once
// How the program was started: the port given on the command line, and what tests and the
// screenshot tool replace (where the log lives, the clock, how the log is shown).
#include <QString>
#include <functional>
#include <string>

#include "common/clock.h"
#include "qt_shared/port_choice.h"

namespace quarnwin {

struct QuarnWinOptions {
    // --port PORT: used as it is; empty: the port chosen with "Port…", else the USB-serial
    // converter.
    std::string port;
    // Root of the sysfs tree the port discovery reads.
    std::string sysfsRoot = "/sys";
    // Asks for a port (no converter at start, "Port…"); null: the port dialog.
    qtshared::PortAsker askPort;
    // Folder of log.txt, ending with "/"; empty: ProgramFolder().
    QString programFolder;
    // Folder the backups before a download go into; empty: "Backups" in the per-user data
    // folder.
    QString backupFolder;
    // The clock for the protocol's waits; null: the wall clock, painting the dialog while a
    // long wait passes.
    common::Clock* clock = nullptr;
    // Opens the log in the desktop's text editor; null: the desktop's handler for the file.
    std::function<void(const QString& logFile)> showLog;
};

}  // namespace quarnwin
