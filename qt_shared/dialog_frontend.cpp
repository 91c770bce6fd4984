#include "qt_shared/dialog_frontend.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringDecoder>

#include "qt_shared/system_sound.h"

namespace qtshared {

QString ToDisplayText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError())
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return text;
}

void DialogFrontend::message(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, programName_, ToDisplayText(text), QMessageBox::Ok,
                    window_);
    box.setObjectName("messageBox");
    box.exec();
}

bool DialogFrontend::ask(const std::string& text) {
    QMessageBox box(QMessageBox::Question, programName_, ToDisplayText(text),
                    QMessageBox::Yes | QMessageBox::No, window_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void DialogFrontend::setStatus(const std::string& text) {
    statusLine_->showText(ToDisplayText(text));
}

void DialogFrontend::reportError(const std::string& text, bool sound) {
    if (sound) PlayExclamation();
    statusLine_->showText(ToDisplayText(text));
}

void DialogFrontend::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void DialogFrontend::setTitle(const std::string& title) {
    window_->setWindowTitle(ToDisplayText(title));
}

}  // namespace qtshared
