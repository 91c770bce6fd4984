// The main dialog's side of the transfers and the variable display: connection check, the
// file or folder dialog with its stored path, the operation, and its abort text.
#include <QDir>
#include <QStandardPaths>
#include <memory>

#include "monitor/variable_display.h"
#include "plc/files/transfer_log.h"
#include "plc_tool/core/checked_download.h"
#include "plc_tool/core/control_operations.h"
#include "plc_tool/core/show_variables.h"
#include "plc_tool/core/transfer_operations.h"
#include "plc_tool/qt/file_dialogs.h"
#include "plc_tool/qt/folder_dialog.h"
#include "plc_tool/qt/quarnwin_dialog.h"
#include "plc_tool/qt/variables_window.h"
#include "qt_shared/core_path.h"

namespace quarnwin {

namespace {
constexpr const char* kProjectFilter = "Project file (*.pr)|*.pr||";
constexpr const char* kUploadFilter = "Prokect file (*.pr)|*.pr|All Files (*.*)|*.*||";
constexpr const char* kSymbolFilter = "Symbol file (*.ot)|*.ot||";
// Differences the message box after a failed verify lists; the log has them all.
constexpr size_t kDifferencesShown = 10;
}  // namespace

void CQuarnWinDlg::OnDownload() {
    if (RunConnectionCheck(*session_) != Outcome::Done) return;
    QString project = ChooseFileToOpen(this, "pr", settings_.pathDn, kProjectFilter);
    if (project.isEmpty()) return;
    settings_.pathDn = project;
    DownloadChoices choices;
    if (settings_.backupBeforeDownload) {
        const QString folder = BackupFolder();
        QDir().mkpath(folder);
        choices.backupParent = qtshared::ToFilesystemPath(folder);
    }
    choices.verify = settings_.verifyAfterDownload;
    DownloadResults results;
    RunDownload(*session_, qtshared::ToFilesystemPath(project),
                plc::TransferLog(qtshared::ToFilesystemPath(logFile())), choices, results);
    if (results.verify && !results.verify->ok()) {
        // The red status line says it failed; the box says where.
        const std::vector<std::string> lines = results.verify->Lines();
        std::string text = "Verify failed:";
        for (size_t i = 0; i < lines.size() && i < kDifferencesShown; ++i) text += "\n" + lines[i];
        if (lines.size() > kDifferencesShown)
            text += "\n(" + std::to_string(lines.size() - kDifferencesShown) + " more in the log)";
        frontend_->message(text);
    }
}

QString CQuarnWinDlg::BackupFolder() const {
    if (!options_.backupFolder.isEmpty()) return options_.backupFolder;
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/Backups";
}

void CQuarnWinDlg::OnUpload() {
    if (RunConnectionCheck(*session_) != Outcome::Done) return;
    CFolderDialog folders(settings_.pathUp, kUploadFilter, this, *frontend_);
    if (folders.exec() != QDialog::Accepted) return;
    // The dialog is gone from the screen before the upload blocks the thread.
    repaint();
    settings_.pathUp = folders.folder();
    RunUpload(*session_, qtshared::ToFilesystemPath(settings_.pathUp),
              plc::TransferLog(qtshared::ToFilesystemPath(logFile())));
}

void CQuarnWinDlg::OnShowVariables() {
    if (RunConnectionCheck(*session_) != Outcome::Done) return;
    QString symbols = ChooseFileToOpen(this, "ot", settings_.pathVar, kSymbolFilter);
    if (symbols.isEmpty()) return;
    auto window = std::make_unique<CVariablesWnd>(
        this, ToQString(monitor::VariablesWindowTitle(qtshared::ToCorePath(symbols))));
    window->show();
    settings_.pathVar = symbols;
    RunShowVariables(*session_, qtshared::ToFilesystemPath(symbols), *window);
    window.reset();
}

}  // namespace quarnwin
