#include "protocol_tool/qt/settings_store.h"

#include <QSettings>

namespace vantor {

using namespace protocol;

VantorSettings LoadSettings() {
    QSettings store(kSettingsCompany, kSettingsProgram);
    store.beginGroup(kSettingsSection);
    VantorSettings defaults;
    VantorSettings s;
    s.protocolPath = store.value(kProtocolPathValue, QString()).toString().toStdString();
    s.statisticsPath = store.value(kStatisticsPathValue, QString()).toString().toStdString();
    s.mode = store.value(kModeValue, defaults.mode).toInt();
    s.cnt = store.value(kCntValue, defaults.cnt).toInt();
    s.cyrillic = store.value(kCyrillicValue, defaults.cyrillic).toInt();
    return s;
}

void SaveSettings(const VantorSettings& s) {
    QSettings store(kSettingsCompany, kSettingsProgram);
    store.beginGroup(kSettingsSection);
    store.setValue(kProtocolPathValue, QString::fromStdString(s.protocolPath));
    store.setValue(kStatisticsPathValue, QString::fromStdString(s.statisticsPath));
    store.setValue(kModeValue, s.mode);
    store.setValue(kCntValue, s.cnt);
    store.setValue(kCyrillicValue, s.cyrillic);
}

}  // namespace vantor
