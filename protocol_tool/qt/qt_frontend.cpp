#include "protocol_tool/qt/qt_frontend.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringDecoder>

namespace vantor {

QString ToDisplayText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError())
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return text;
}

void QtFrontend::message(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, kProgramName, ToDisplayText(text), QMessageBox::Ok,
                    window_);
    box.exec();
}

bool QtFrontend::ask(const std::string& text) {
    QMessageBox box(QMessageBox::Question, kProgramName, ToDisplayText(text),
                    QMessageBox::Yes | QMessageBox::No, window_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtFrontend::setStatus(const std::string& text) {
    statusLine_->showText(ToDisplayText(text));
}

void QtFrontend::reportError(const std::string& text, bool sound) {
    if (sound) QApplication::beep();
    statusLine_->showText(ToDisplayText(text));
}

void QtFrontend::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void QtFrontend::setTitle(const std::string& title) {
    window_->setWindowTitle(ToDisplayText(title));
}

}  // namespace vantor
