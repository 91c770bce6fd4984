#pragma once
// What the Qt tests of QuarnWin share: settings kept in a temporary folder, a clock that
// keeps the protocol's short pacing but not its long settling waits, and plcsim.
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/clock.h"
#include "testsupport/process.h"

namespace quarnwin::testing {

// Waits of up to a few hundred milliseconds really pass (the PLC needs its pauses); the
// 1.5 s, 5 s and 55 s waits after module writes, a reset or the EEPROM initialisation are
// cut short.
class ShortWaitClock final : public common::Clock {
  public:
    static constexpr common::Millis kLongest{200};
    void sleep(common::Millis duration) override {
        sleeps_.push_back(duration);
        std::this_thread::sleep_for(std::min(duration, kLongest));
    }
    common::Millis now() const override {
        return std::chrono::duration_cast<common::Millis>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
    const std::vector<common::Millis>& sleeps() const { return sleeps_; }

  private:
    std::vector<common::Millis> sleeps_;
};

// The per-user settings of the programs live in dir for the rest of the test run.
inline void KeepSettingsIn(const QString& dir) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir);
}

// plcsim on a fresh link, with --verbose so the telegrams can be checked afterwards.
struct Plcsim {
    std::string link = testsupport::FreshLinkPath("quarnwin");
    std::unique_ptr<testsupport::BackgroundProcess> process;

    explicit Plcsim(std::vector<std::string> args = {}) {
        args.insert(args.begin(), {"--link", link, "--verbose"});
        process = std::make_unique<testsupport::BackgroundProcess>(PLCSIM_PATH, args, link);
    }
    bool running() const { return process && process->running(); }
    // Stops it and returns what it printed.
    std::string Stop() {
        process->stop();
        return process->output();
    }
};

}  // namespace quarnwin::testing
