#include "plc_tool/qt/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quarnwin {

QString ProgramFolder() {
    QString folder = QCoreApplication::applicationDirPath();
    if (folder.isEmpty() || !QFileInfo(folder).isWritable()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
        QDir().mkpath(folder);
    }
    if (!folder.endsWith('/')) folder += '/';
    return folder;
}

}  // namespace quarnwin
