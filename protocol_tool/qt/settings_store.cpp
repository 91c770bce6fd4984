#include "protocol_tool/qt/settings_store.h"

#include <QSettings>

#include "qt_shared/core_path.h"

namespace vantor {

using namespace protocol;

VantorSettings LoadSettings() {
    QSettings store(kSettingsCompany, kSettingsProgram);
    store.beginGroup(kSettingsSection);
    VantorSettings defaults;
    VantorSettings s;
    s.protocolPath = qtshared::ToCorePath(store.value(kProtocolPathValue, QString()).toString());
    s.statisticsPath =
        qtshared::ToCorePath(store.value(kStatisticsPathValue, QString()).toString());
    s.mode = store.value(kModeValue, defaults.mode).toInt();
    s.cnt = store.value(kCntValue, defaults.cnt).toInt();
    s.cyrillic = store.value(kCyrillicValue, defaults.cyrillic).toInt();
    return s;
}

void SaveSettings(const VantorSettings& s) {
    QSettings store(kSettingsCompany, kSettingsProgram);
    store.beginGroup(kSettingsSection);
    store.setValue(kProtocolPathValue, qtshared::FromCorePath(s.protocolPath));
    store.setValue(kStatisticsPathValue, qtshared::FromCorePath(s.statisticsPath));
    store.setValue(kModeValue, s.mode);
    store.setValue(kCntValue, s.cnt);
    store.setValue(kCyrillicValue, s.cyrillic);
}

}  // namespace vantor
