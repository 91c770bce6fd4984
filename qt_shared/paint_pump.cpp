#include "qt_shared/paint_pump.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEvent>

namespace qtshared {

namespace {

constexpr const char* kHolderName = "qtshared-held-close";

// Lives as a child of the dialog; filters the dialog's events while a pump runs.
class CloseHolder final : public QObject {
  public:
    explicit CloseHolder(QWidget& dialog) : QObject(&dialog), dialog_(dialog) {
        setObjectName(kHolderName);
        dialog_.installEventFilter(this);
    }

    static CloseHolder& For(QWidget& dialog) {
        auto* holder = dialog.findChild<CloseHolder*>(kHolderName, Qt::FindDirectChildrenOnly);
        return holder ? *holder : *new CloseHolder(dialog);
    }

    void Pump(QEventLoop::ProcessEventsFlags flags) {
        ++pumping_;
        QCoreApplication::processEvents(flags);
        --pumping_;
    }

    bool held() const { return held_; }
    bool pumping() const { return pumping_ > 0; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (pumping_ == 0 || watched != &dialog_ || event->type() != QEvent::Close) return false;
        event->ignore();
        Hold();
        return true;
    }

  private:
    void Hold() {
        if (held_) return;
        held_ = true;
        // The thread only waits for input in the dialog's own event loop once the operation
        // is over, or inside a modal window the operation opened (a question, the variables
        // window): the close goes on in the first case only.
        waiting_ = connect(QAbstractEventDispatcher::instance(),
                           &QAbstractEventDispatcher::aboutToBlock, this, [this] {
                               QWidget* modal = QApplication::activeModalWidget();
                               if (pumping_ > 0 || (modal && modal != &dialog_)) return;
                               Release();
                           });
    }

    void Release() {
        disconnect(waiting_);
        held_ = false;
        QMetaObject::invokeMethod(
            &dialog_, [&dialog = dialog_] { dialog.close(); }, Qt::QueuedConnection);
    }

    QWidget& dialog_;
    int pumping_ = 0;
    bool held_ = false;
    QMetaObject::Connection waiting_;
};

}  // namespace

void DispatchPendingPaints(QWidget& dialog) {
    CloseHolder::For(dialog).Pump(QEventLoop::ExcludeUserInputEvents |
                                  QEventLoop::ExcludeSocketNotifiers);
}

void DispatchPendingEvents(QWidget& dialog) {
    CloseHolder::For(dialog).Pump(QEventLoop::AllEvents);
}

bool PumpRunning(const QWidget& dialog) {
    auto* holder = dialog.findChild<CloseHolder*>(kHolderName, Qt::FindDirectChildrenOnly);
    return holder && holder->pumping();
}

bool CloseHeldBack(const QWidget& dialog) {
    auto* holder = dialog.findChild<CloseHolder*>(kHolderName, Qt::FindDirectChildrenOnly);
    return holder && holder->held();
}

}  // namespace qtshared
