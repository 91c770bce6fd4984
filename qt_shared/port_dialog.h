#pragma once
// The port choice of the dialog programs ("Port…"): the USB-serial converter, as found at
// start-up, or a port the technician names: one of this machine's serial ports from the
// list, or a device server on the network typed in (rfc2217://HOST:PORT, socket://HOST:PORT).
#include <QDialog>
#include <string>
#include <vector>

#include "link/port_discovery.h"
#include "qt_shared/port_choice.h"

class QComboBox;
class QRadioButton;

namespace qtshared {

class PortDialog final : public QDialog {
    Q_OBJECT
  public:
    // current: the port proposed, empty for the converter.
    PortDialog(const std::vector<serial::PortInfo>& ports, const QString& current,
               QWidget* parent = nullptr);

    // Empty for the converter.
    QString port() const;

  public slots:
    void accept() override;

  private:
    QRadioButton* converter_;
    QRadioButton* named_;
    QComboBox* field_;
};

// The dialog over this machine's port list (read from `sysfsRoot` on Linux).
PortAsker StandardPortAsker(std::string sysfsRoot = "/sys");

}  // namespace qtshared

class QAction;
class QLabel;

namespace qtshared {

// Shows the port in use: its name in `name` (the whole of it in the tooltip), and under it in
// `origin` how it came, hidden for the converter's port.
void ShowPortInUse(const PortInUse& port, QLabel& name, QLabel& origin);

// A label for ShowPortInUse's `origin`, named "portOrigin".
QLabel* MakePortOriginLabel(QWidget* parent);

// The context menu's "Port…" action, named "portAction", added to `window`'s actions; the
// caller connects it to its port choice.
QAction* AddPortAction(QWidget& window);

}  // namespace qtshared
