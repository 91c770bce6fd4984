#pragma once
// How the program was started: the port given on the command line, and what tests and the
// screenshot tool replace (where the log lives, the clock, how the log is shown).
#include <QString>
#include <functional>
#include <string>

#include "common/clock.h"

namespace quarnwin {

struct QuarnWinOptions {
    // --port PATH: used as it is; empty: the USB-serial converter is looked for.
    std::string port;
    // Root of the sysfs tree the port discovery reads.
    std::string sysfsRoot = "/sys";
    // Folder of log.txt, ending with "/"; empty: ProgramFolder().
    QString programFolder;
    // Folder the backups before a download go into; empty: "Backups" in the per-user data
    // folder.
    QString backupFolder;
    // The clock for the protocol's waits; null: the wall clock.
    common::Clock* clock = nullptr;
    // Opens the log in the desktop's text editor; null: the desktop's handler for the file.
    std::function<void(const QString& logFile)> showLog;
};

}  // namespace quarnwin
