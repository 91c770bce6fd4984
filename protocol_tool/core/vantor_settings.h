#pragma once
// The program's persistent settings: company "Hadrel", program "Vantor", section
// "Einstellungen". Read once when the main dialog starts, written once when it ends, in the
// order of the value names below.
#include <string>

#include "protocol_tool/core/protocol_commands.h"

namespace protocol {

inline constexpr char kSettingsCompany[] = "Hadrel";
inline constexpr char kSettingsProgram[] = "Vantor";
inline constexpr char kSettingsSection[] = "Einstellungen";

inline constexpr char kProtocolPathValue[] = "PathVYNProtokoll";
inline constexpr char kStatisticsPathValue[] = "PathVYNStatistik";
inline constexpr char kModeValue[] = "Mode";
inline constexpr char kCntValue[] = "Cnt";
inline constexpr char kCyrillicValue[] = "Cyrillic";

struct VantorSettings {
    std::string protocolPath;    // initial name of the Get Protocol and Convert dialogs
    std::string statisticsPath;  // initial name of the Get Statistics dialog
    int mode = kModeUpTo;
    int cnt = 100;
    int cyrillic = 0;  // check box Translate to Cyrillic
};

}  // namespace protocol
