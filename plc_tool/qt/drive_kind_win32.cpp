#include <windows.h>

#include "common/utf8_path.h"
#include "plc_tool/qt/drive_kind.h"

namespace quarnwin {

DriveKind DriveKindOf(const std::string& root) {
    const std::wstring wide = common::PathFromUtf8(root).wstring();
    switch (GetDriveTypeW(wide.c_str())) {
        case DRIVE_NO_ROOT_DIR:
            return DriveKind::NoRootDir;
        case DRIVE_REMOVABLE:
            return DriveKind::Removable;
        case DRIVE_FIXED:
            return DriveKind::Fixed;
        case DRIVE_REMOTE:
            return DriveKind::Remote;
        case DRIVE_CDROM:
            return DriveKind::CdRom;
        case DRIVE_RAMDISK:
            return DriveKind::RamDisk;
        default:
            return DriveKind::Unknown;
    }
}

}  // namespace quarnwin
