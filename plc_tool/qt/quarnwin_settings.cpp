#include "plc_tool/qt/quarnwin_settings.h"

#include <QSettings>

namespace quarnwin {

namespace {
constexpr int kSpeedCount = 2;
}  // namespace

QuarnWinSettings QuarnWinSettings::Load() {
    QSettings store(kCompany, kProgram);
    store.beginGroup(kGroup);
    QuarnWinSettings settings;
    settings.baudrate = store.value("Baudrate", 0).toInt();
    // An index the speed list does not have selects the first speed.
    if (settings.baudrate < 0 || settings.baudrate >= kSpeedCount) settings.baudrate = 0;
    settings.pathDn = store.value("PathDn", QString()).toString();
    settings.pathUp = store.value("PathUp", QString()).toString();
    settings.pathVar = store.value("PathVar", QString()).toString();
    settings.backupBeforeDownload = store.value("BackupBeforeDownload", false).toBool();
    settings.verifyAfterDownload = store.value("VerifyAfterDownload", false).toBool();
    return settings;
}

void QuarnWinSettings::Save() const {
    QSettings store(kCompany, kProgram);
    store.beginGroup(kGroup);
    store.setValue("Baudrate", baudrate);
    store.setValue("PathDn", pathDn);
    store.setValue("PathUp", pathUp);
    store.setValue("PathVar", pathVar);
    store.setValue("BackupBeforeDownload", backupBeforeDownload);
    store.setValue("VerifyAfterDownload", verifyAfterDownload);
    store.endGroup();
    store.sync();
}

}  // namespace quarnwin
