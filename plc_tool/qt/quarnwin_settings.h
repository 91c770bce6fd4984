#pragma once
// The settings the main dialog keeps per user: read once when it starts, written once when
// it ends. Stored under the company "Hadrel", program "QuarnWin", group "Einstellungen".
#include <QString>

#include "qt_shared/port_choice.h"

namespace quarnwin {

struct QuarnWinSettings {
    static constexpr const char* kCompany = "Hadrel";
    static constexpr const char* kProgram = "QuarnWin";
    static constexpr const char* kGroup = qtshared::kSettingsGroup;

    int baudrate = 0;  // index in the speed list: 0 = 9600, 1 = 19200
    QString pathDn;    // project file last sent to the PLC
    QString pathUp;    // folder last uploaded into
    QString pathVar;   // symbol file last shown
    // The context menu's choices around a download; both off until the technician turns
    // them on.
    bool backupBeforeDownload = false;
    bool verifyAfterDownload = false;

    static QuarnWinSettings Load();
    void Save() const;
};

}  // namespace quarnwin
