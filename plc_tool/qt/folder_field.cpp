#include "plc_tool/qt/folder_field.h"

#include <QKeyEvent>

namespace quarnwin {

bool FolderFieldEdit::event(QEvent* event) {
    // Tab would move the focus before the field sees it.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && !(key->modifiers() & ~Qt::KeypadModifier)) {
            if (onTab) onTab();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void FolderFieldEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            if (onEnter) onEnter();
            return;
        case Qt::Key_Delete:
            QLineEdit::keyPressEvent(event);
            if (onAfterDelete) onAfterDelete();
            return;
        case Qt::Key_Backspace:
            QLineEdit::keyPressEvent(event);
            if (onAfterCharacter) onAfterCharacter('\b');
            return;
        default:
            break;
    }
    const QString text = event->text();
    const bool typed = !text.isEmpty() && text.at(0).isPrint();
    QLineEdit::keyPressEvent(event);
    if (typed && onAfterCharacter) onAfterCharacter(text.toUtf8().at(0));
}

}  // namespace quarnwin
