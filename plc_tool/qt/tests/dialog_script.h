#pragma once
// Answers the modal dialogs an operation opens, in order, from inside their event loops:
// message boxes, file dialogs and the folder dialog. Every text of a message box is kept.
#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>

namespace quarnwin::testing {

class DialogScript {
  public:
    using Step = std::function<void(QDialog& dialog)>;

    DialogScript() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }

    // The next message box: its text is kept, the button pressed.
    DialogScript& Press(QMessageBox::StandardButton button) {
        steps_.push_back([this, button](QDialog& d) {
            auto* box = qobject_cast<QMessageBox*>(&d);
            if (!box || !box->button(button)) return Unexpected(d, "a message box");
            texts_ << box->text();
            box->button(button)->click();
        });
        return *this;
    }
    // The next file dialog chooses this file (or cancels for an empty path).
    DialogScript& ChooseFile(const QString& path) {
        steps_.push_back([this, path](QDialog& d) {
            auto* files = qobject_cast<QFileDialog*>(&d);
            if (!files) return Unexpected(d, "a file dialog");
            if (path.isEmpty()) return files->reject();
            TypeFileName(*files, path);
            static_cast<QDialog*>(files)->accept();
        });
        return *this;
    }
    // Types the path into the file dialog's name field, as the technician would (selectFile
    // leaves a field that has the focus alone).
    static void TypeFileName(QFileDialog& files, const QString& path) {
        if (auto* name = files.findChild<QLineEdit*>("fileNameEdit"))
            name->setText(path);
        else
            files.selectFile(path);
    }
    // Anything else: the test does it.
    DialogScript& Then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }

    bool done() const { return steps_.empty(); }
    size_t left() const { return steps_.size(); }
    const QStringList& texts() const { return texts_; }
    // Dialogs that were not what the script expected (they were rejected).
    const QStringList& errors() const { return errors_; }
    // A step found another dialog than it expected: noted, and the dialog is rejected.
    void Unexpected(QDialog& d, const char* expected) {
        errors_ << QString("expected %1, got \"%2\" (%3)")
                       .arg(expected, d.windowTitle(), d.metaObject()->className());
        d.reject();
    }
    // The titles of the dialogs answered, in order.
    const QStringList& titles() const { return titles_; }

  private:
    void Poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog == last_ || steps_.empty() || !dialog->isVisible()) return;
        last_ = dialog;
        titles_ << dialog->windowTitle();
        // Run from the event queue: a timer does not fire again while its own handler runs,
        // and the step may open the next dialog.
        QMetaObject::invokeMethod(
            &timer_,
            [step = std::move(steps_.front()), target = QPointer<QDialog>(dialog)] {
                if (target) step(*target);
            },
            Qt::QueuedConnection);
        steps_.pop_front();
    }

    QTimer timer_;
    std::deque<Step> steps_;
    QPointer<QDialog> last_;
    QStringList texts_;
    QStringList titles_;
    QStringList errors_;
};

}  // namespace quarnwin::testing
