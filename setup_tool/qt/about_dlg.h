#pragma once
// The About box "Info über Tessel": the program's icon, name and version.
#include <QDialog>
#include <QIcon>

namespace skellig {

class AboutDlg final : public QDialog {
    Q_OBJECT
  public:
    AboutDlg(const QIcon& icon, QWidget* parent);
};

}  // namespace skellig
