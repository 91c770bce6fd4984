#include "setup_tool/qt/skellig_settings.h"

#include <QSettings>

#include "qt_shared/port_choice.h"

namespace skellig {

namespace {
constexpr char kPathVyn[] = "PathVYN";
}  // namespace

QString LoadPathVyn() {
    QSettings settings(kSettingsCompany, kSettingsProgram);
    settings.beginGroup(qtshared::kSettingsGroup);
    return settings.value(kPathVyn, QString()).toString();
}

void SavePathVyn(const QString& path) {
    QSettings settings(kSettingsCompany, kSettingsProgram);
    settings.beginGroup(qtshared::kSettingsGroup);
    settings.setValue(kPathVyn, path);
}

}  // namespace skellig
