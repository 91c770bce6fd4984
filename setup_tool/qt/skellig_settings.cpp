#include "setup_tool/qt/skellig_settings.h"

#include <QSettings>

namespace skellig {

namespace {
constexpr char kGroup[] = "Einstellungen";
constexpr char kPathVyn[] = "PathVYN";
}  // namespace

QString LoadPathVyn() {
    QSettings settings(kSettingsCompany, kSettingsProgram);
    settings.beginGroup(kGroup);
    return settings.value(kPathVyn, QString()).toString();
}

void SavePathVyn(const QString& path) {
    QSettings settings(kSettingsCompany, kSettingsProgram);
    settings.beginGroup(kGroup);
    settings.setValue(kPathVyn, path);
}

}  // namespace skellig
