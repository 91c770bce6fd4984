#pragma once
// The clock of a dialog program's operations. They run on the user-interface thread, so a
// long pacing wait (55 s inside the EEPROM initialisation, 5 s after a reset) would leave the
// windows unpainted and the desktop would call the program hung. A wait longer than a moment
// passes in slices with the windows' waiting paint work done between them (the status
// line's paint pump: no input, a close held back until the operation ends). A wait ends
// early once a stop has been requested (SIGINT, SIGTERM): the link then reads no further
// answers, so nothing is left to wait for.
#include <QPointer>
#include <QWidget>

#include "common/clock.h"

namespace qtshared {

class DialogClock final : public common::Clock {
  public:
    // Waits up to this long pass in one piece.
    static constexpr common::Millis kMoment{100};
    // The longest stretch without paint work in a longer wait.
    static constexpr common::Millis kSlice{50};

    // The dialog whose windows are painted while waiting; without one, waits are plain.
    void paintWhileWaiting(QWidget* dialog) { dialog_ = dialog; }

    void sleep(common::Millis duration) override;
    common::Millis now() const override { return real_.now(); }
    common::Micros nowMicros() const override { return real_.nowMicros(); }
    void sleepMicros(common::Micros duration) override { real_.sleepMicros(duration); }

  private:
    common::RealClock real_;
    QPointer<QWidget> dialog_;
};

}  // namespace qtshared
