#pragma once
// The settings in QSettings("Hadrel", "Vantor"), section "Einstellungen".
#include "protocol_tool/core/vantor_settings.h"

namespace vantor {

// Missing values give the defaults.
protocol::VantorSettings LoadSettings();
// Written in the order PathVYNProtokoll, PathVYNStatistik, Mode, Cnt, Cyrillic.
void SaveSettings(const protocol::VantorSettings& settings);

}  // namespace vantor
