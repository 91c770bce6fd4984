#include "protocol_tool/qt/file_dialogs.h"

#include <QDir>
#include <QFileDialog>

namespace vantor {

namespace {

QString Choose(QWidget* parent, const QString& initialPath, QFileDialog::AcceptMode mode,
               const QString& suffix, const QString& filter) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(suffix);
    dialog.setNameFilter(filter);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!initialPath.isEmpty()) dialog.selectFile(initialPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().front());  // backslashes on Windows
}

}  // namespace

FileDialogs FileDialogs::Standard() {
    FileDialogs d;
    d.saveProtocol = [](QWidget* parent, const QString& initial) {
        return Choose(parent, initial, QFileDialog::AcceptSave, "pro", "Protocol file (*.pro)");
    };
    d.saveStatistics = [](QWidget* parent, const QString& initial) {
        return Choose(parent, initial, QFileDialog::AcceptSave, "sta", "Stats file (*.sta)");
    };
    d.openProtocol = [](QWidget* parent, const QString& initial) {
        return Choose(parent, initial, QFileDialog::AcceptOpen, "pro", "Protocol file (*.pro)");
    };
    return d;
}

}  // namespace vantor
