#pragma once
// "Info über Rilvo": the program icon, its name and version, and its maker.
#include <QDialog>

namespace quarnwin {

class AboutBox final : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* parent);
};

}  // namespace quarnwin
