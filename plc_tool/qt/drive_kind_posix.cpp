#include "plc_tool/qt/drive_kind.h"

namespace quarnwin {

DriveKind DriveKindOf(const std::string&) {
    return DriveKind::Fixed;
}

}  // namespace quarnwin
