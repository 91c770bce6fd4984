#include "plc_tool/qt/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "common/utf8_path.h"
#include "plc_tool/core/log_location.h"
#include "qt_shared/core_path.h"

namespace quarnwin {

QString ProgramFolder() {
    const QString program = QCoreApplication::applicationDirPath();
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QString folder = qtshared::FromCorePath(common::Utf8FromPath(
        LogFolderFor(qtshared::ToFilesystemPath(program), qtshared::ToFilesystemPath(user))));
    if (folder == user) QDir().mkpath(folder);
    if (!folder.endsWith('/')) folder += '/';
    return folder;
}

}  // namespace quarnwin
