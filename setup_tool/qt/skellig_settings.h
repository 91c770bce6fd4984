#pragma once
// The program's one setting: "PathVYN", the text file last chosen, in QSettings("Hadrel",
// "Skellig"), group "Einstellungen".
#include <QString>

namespace skellig {

inline constexpr char kSettingsCompany[] = "Hadrel";
inline constexpr char kSettingsProgram[] = "Skellig";

// Empty when the value is absent.
QString LoadPathVyn();
void SavePathVyn(const QString& path);

}  // namespace skellig
