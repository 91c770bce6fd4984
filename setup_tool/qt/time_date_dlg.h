#pragma once
// CTimeDateDlg, the "Time / Date" dialog of the clock step: six edit fields for the time
// and the date, the daylight-saving list, OK and Cancel. A new dialog is made for every
// showing; QtTimeDate is how the transfer shows it.
#include <QDialog>

#include "setup_tool/core/clock_setting.h"

class QComboBox;
class QLineEdit;

namespace skellig {

class CTimeDateDlg final : public QDialog {
    Q_OBJECT
  public:
    explicit CTimeDateDlg(QWidget* parent);

    // Fills the fields and chooses the list entry.
    void setEntry(const setup::ClockEntry& entry);
    // The fields as typed and the chosen entry's index.
    setup::ClockEntry entry() const;

  private:
    QLineEdit* field(const char* name);
    QLineEdit* hours_;
    QLineEdit* minutes_;
    QLineEdit* seconds_;
    QLineEdit* day_;
    QLineEdit* month_;
    QLineEdit* year_;
    QComboBox* rule_;
};

// The clock step's dialog for the transfer: a CTimeDateDlg over the main dialog.
class QtTimeDate final : public setup::TimeDateDialog {
  public:
    explicit QtTimeDate(QWidget* parent) : parent_(parent) {}
    std::optional<setup::ClockEntry> show(const setup::ClockEntry& prefilled) override;

  private:
    QWidget* parent_;
};

}  // namespace skellig
