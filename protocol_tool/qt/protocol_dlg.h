#pragma once
// CProtocolDlg, the "Protocol" dialog: which part of the protocol to fetch. Opened with the
// current Mode and Cnt; OK checks the number and keeps the dialog open, with the number
// selected, while it is not an integer from 1 to 9999.
#include <QDialog>
#include <optional>

#include "protocol_tool/core/protocol_reader.h"

class QLineEdit;
class QRadioButton;

namespace vantor {

class CProtocolDlg : public QDialog {
    Q_OBJECT
  public:
    CProtocolDlg(const protocol::ProtocolChoice& current, QWidget* parent);
    // The confirmed choice, set when the dialog was closed with OK.
    const std::optional<protocol::ProtocolChoice>& choice() const { return choice_; }

    // Opens the dialog modally; nullopt when it is cancelled.
    static std::optional<protocol::ProtocolChoice> Ask(const protocol::ProtocolChoice& current,
                                                       QWidget* parent);

  public slots:
    void accept() override;

  private:
    QRadioButton* upTo_;
    QRadioButton* newEntries_;
    QLineEdit* number_;
    std::optional<protocol::ProtocolChoice> choice_;
};

}  // namespace vantor
