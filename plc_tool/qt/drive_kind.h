#pragma once
// The kind of a drive root ("C:\") as the system reports it, for the folder picker's rules.
#include <string>

#include "plc_tool/core/folder_path_rules.h"

namespace quarnwin {

// root: UTF-8. Where there are no drives every root counts as a fixed one.
DriveKind DriveKindOf(const std::string& root);

}  // namespace quarnwin
