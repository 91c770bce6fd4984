#pragma once
// The status line across the bottom of the main dialog: the status text in black on the
// tooltip background, drawn at once when it is set, while the operation still holds the thread.
#include <QString>
#include <QWidget>

namespace vantor {

class StatusLineWidget : public QWidget {
    Q_OBJECT
public:
    explicit StatusLineWidget(QWidget* parent = nullptr);
    // Puts the text on the screen before it returns: the line is repainted and pending
    // paint work of the dialog is done; user input stays queued.
    void showText(const QString& text);
    const QString& text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

}  // namespace vantor
