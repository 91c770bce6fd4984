#pragma once
// The About box "Info über Vantor".
#include <QDialog>

namespace vantor {

class AboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDlg(const QIcon& icon, QWidget* parent);
};

}  // namespace vantor
