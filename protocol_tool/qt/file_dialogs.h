#pragma once
// The file dialogs of the main dialog: the Get Protocol and Get Statistics save dialogs
// (no question before an existing file is replaced) and the Convert open dialog. Each gets
// the remembered path as its initial file name and returns the chosen path, or an empty
// text when it is cancelled. Tests put their own choices in.
#include <QString>
#include <QWidget>
#include <functional>

namespace vantor {

struct FileDialogs {
    using Chooser = std::function<QString(QWidget* parent, const QString& initialPath)>;
    Chooser saveProtocol;
    Chooser saveStatistics;
    Chooser openProtocol;

    // The file dialogs of the desktop.
    static FileDialogs Standard();
};

}  // namespace vantor
