#include "plc_tool/qt/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <filesystem>

#include "plc_tool/core/log_location.h"

namespace quarnwin {

namespace {
// Through UTF-16 both ways, so a folder with any letters in its name survives on Windows too.
std::filesystem::path ToPath(const QString& folder) {
    return std::filesystem::path(folder.toStdU16String());
}
QString ToQString(const std::filesystem::path& folder) {
    return QDir::fromNativeSeparators(QString::fromStdU16String(folder.u16string()));
}
}  // namespace

QString ProgramFolder() {
    const QString program = QCoreApplication::applicationDirPath();
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    const bool writable = !program.isEmpty() && LogWritableIn(ToPath(program));
    QString folder = ToQString(ChooseLogFolder(ToPath(program), writable, ToPath(user)));
    if (folder == user) QDir().mkpath(folder);
    if (!folder.endsWith('/')) folder += '/';
    return folder;
}

}  // namespace quarnwin
