#include "plc_tool/qt/qt_frontend.h"

#include <QApplication>
#include <QMessageBox>

#include "qt_shared/core_path.h"

namespace quarnwin {

// The core's texts are UTF-8, as its paths are.
QString ToQString(const std::string& text) {
    return qtshared::FromCorePath(text);
}

class QtFrontend::ArrowWhileAsking {
  public:
    explicit ArrowWhileAsking(bool busy) : busy_(busy) {
        if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ArrowWhileAsking() {
        if (busy_) QApplication::restoreOverrideCursor();
    }
    ArrowWhileAsking(const ArrowWhileAsking&) = delete;
    ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;

  private:
    bool busy_;
};

QtFrontend::QtFrontend(QWidget& window, StatusLine& status) : window_(window), status_(status) {}

QtFrontend::~QtFrontend() {
    while (busyDepth_ > 0) setBusy(false);
}

void QtFrontend::message(const std::string& text) {
    ArrowWhileAsking arrow(busy());
    QMessageBox box(QMessageBox::NoIcon, kProgramName, ToQString(text), QMessageBox::Ok, &window_);
    box.exec();
}

bool QtFrontend::ask(const std::string& text) {
    ArrowWhileAsking arrow(busy());
    QMessageBox box(QMessageBox::NoIcon, kProgramName, ToQString(text),
                    QMessageBox::Yes | QMessageBox::No, &window_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtFrontend::setStatus(const std::string& text) {
    status_.draw(ToQString(text), StatusLine::Form::Normal);
}

void QtFrontend::reportError(const std::string& text, bool sound) {
    status_.draw(ToQString(text),
                 sound ? StatusLine::Form::ErrorWithSound : StatusLine::Form::Error);
}

void QtFrontend::setBusy(bool busy) {
    if (busy) {
        ++busyDepth_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0) {
        --busyDepth_;
        QApplication::restoreOverrideCursor();
    }
}

void QtFrontend::setTitle(const std::string& title) {
    // The PLC's title text: up to its first NUL, 8-bit characters.
    std::string text = title.substr(0, title.find('\0'));
    window_.setWindowTitle(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace quarnwin
