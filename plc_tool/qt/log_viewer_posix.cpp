#include <QDesktopServices>
#include <QUrl>

#include "plc_tool/qt/log_viewer.h"

namespace quarnwin {

void OpenLogViewer(const QString& logFile) {
    // The desktop's choice of program for a text file.
    QDesktopServices::openUrl(QUrl::fromLocalFile(logFile));
}

}  // namespace quarnwin
