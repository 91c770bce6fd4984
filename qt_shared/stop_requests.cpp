#include "qt_shared/stop_requests.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include "cli/interrupt.h"
#include "link/stop_signals.h"
#include "qt_shared/paint_pump.h"

namespace qtshared {

void EndOnStopRequest(QWidget& dialog, std::function<void()> end) {
    cli::InstallInterruptHandling();
    auto* timer = new QTimer(&dialog);
    timer->setObjectName("stopRequestWatch");
    timer->setInterval(kStopPollMilliseconds);
    QObject::connect(timer, &QTimer::timeout, &dialog, [timer, &dialog, end = std::move(end)] {
        if (!serial::StopRequested()) return;
        // The operation holding the thread ends by itself: the link reads no more answers.
        if (PumpRunning(dialog)) return;
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != &dialog) {
            if (auto* box = qobject_cast<QDialog*>(modal))
                box->reject();
            else
                modal->close();
            return;
        }
        timer->stop();
        end();
    });
    timer->start();
}

int ExitStatusAfterStop(int status) {
    return cli::ExitStatusAfterStop(status);
}

}  // namespace qtshared
