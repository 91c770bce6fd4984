#pragma once
// The file-open and file-save dialogs of the main dialog. Filters are written as the
// program has always written them ("Project file (*.pr)|*.pr||": pairs of description and
// pattern separated by '|', ended by "||").
#include <QString>
#include <QStringList>

class QWidget;

namespace quarnwin {

// The filter as the toolkit's name filters ("Project file (*.pr)"); "*.*" matches every
// file, also one without a dot.
QStringList NameFilters(const QString& filter);
// The patterns of one name filter ("Project file (*.pr)" gives "*.pr").
QStringList FilterPatterns(const QString& nameFilter);

// An existing file to open, starting at initialFile (its folder and name); empty when the
// technician cancels.
QString ChooseFileToOpen(QWidget* parent, const QString& defaultSuffix, const QString& initialFile,
                         const QString& filter);

// A file name to save to, in folder; asks before an existing file is replaced. Empty when
// cancelled.
QString ChooseFileToSave(QWidget* parent, const QString& title, const QString& defaultSuffix,
                         const QString& folder, const QString& filter);

}  // namespace quarnwin
