#pragma once
// The status line at the bottom of the main dialog. Operations run on the user-interface
// thread, so a new text is drawn at once, from inside the operation: paint work that is
// waiting goes first, user input waits until the operation returns. Error texts are drawn
// in red (with the exclamation sound in their usual form); any later repaint draws the text
// in black again.
#include <QColor>
#include <QString>
#include <QWidget>

namespace quarnwin {

class StatusLine final : public QWidget {
    Q_OBJECT
  public:
    enum class Form {
        Normal = 0,          // black
        ErrorWithSound = 1,  // red, with the exclamation sound
        Error = 2,           // red, silent
    };
    // Longest text the status buffer holds; every text of the program is far shorter.
    static constexpr int kMaxLength = 259;

    explicit StatusLine(QWidget* parent);

    // Replaces the text and draws it now.
    void draw(const QString& text, Form form);
    const QString& text() const { return text_; }
    // The colour the text was painted in last, for tests and screenshots.
    QColor lastPaintedColour() const { return lastColour_; }

  signals:
    // A text was drawn (after it is on the screen).
    void drawn(const QString& text, int form);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
    Form drawing_ = Form::Normal;
    QColor lastColour_ = Qt::black;
};

}  // namespace quarnwin
