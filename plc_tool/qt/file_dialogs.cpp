#include "plc_tool/qt/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace quarnwin {

QStringList NameFilters(const QString& filter) {
    QStringList parts = filter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        QString patterns = parts[i + 1];
        if (description.isEmpty()) break;
        patterns.replace("*.*", "*");
        patterns.replace(';', ' ');
        // The toolkit takes the patterns from the parentheses at the end of the text.
        QString shown = description;
        shown.remove(QRegularExpression("\\s*\\([^()]*\\)\\s*$"));
        filters << QString("%1 (%2)").arg(shown, patterns);
    }
    return filters;
}

QStringList FilterPatterns(const QString& nameFilter) {
    QRegularExpressionMatch match = QRegularExpression("\\(([^()]*)\\)\\s*$").match(nameFilter);
    if (!match.hasMatch()) return {"*"};
    return match.captured(1).split(' ', Qt::SkipEmptyParts);
}

QString ChooseFileToOpen(QWidget* parent, const QString& defaultSuffix, const QString& initialFile,
                         const QString& filter) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setNameFilters(NameFilters(filter));
    if (!initialFile.isEmpty()) {
        QFileInfo initial(initialFile);
        if (initial.dir().exists()) dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().front());  // backslashes on Windows
}

QString ChooseFileToSave(QWidget* parent, const QString& title, const QString& defaultSuffix,
                         const QString& folder, const QString& filter) {
    QFileDialog dialog(parent, title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setNameFilters(NameFilters(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().front());  // backslashes on Windows
}

}  // namespace quarnwin
