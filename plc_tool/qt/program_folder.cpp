#include "plc_tool/qt/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "plc_tool/core/log_location.h"

namespace quarnwin {

QString ProgramFolder() {
    const QString program = QCoreApplication::applicationDirPath();
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    const bool writable = !program.isEmpty() && QFileInfo(program).isWritable();
    QString folder = QString::fromStdString(
        ChooseLogFolder(program.toStdString(), writable, user.toStdString()).string());
    if (folder == user) QDir().mkpath(folder);
    if (!folder.endsWith('/')) folder += '/';
    return folder;
}

}  // namespace quarnwin
