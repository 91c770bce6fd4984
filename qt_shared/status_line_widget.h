#pragma once
// The status line across the bottom of a text display tool's dialog: the status text in
// black on the tooltip background, drawn at once when it is set, while the operation still
// holds the thread.
#include <QString>
#include <QWidget>

namespace qtshared {

class StatusLineWidget final : public QWidget {
    Q_OBJECT
  public:
    // Longest text the status line holds; every status text of the programs is far shorter.
    static constexpr int kMaxLength = 259;

    explicit StatusLineWidget(QWidget* parent = nullptr);
    // Puts the text on the screen before it returns: the line is repainted and pending
    // paint work of the dialog is done; user input stays queued and a close of the dialog
    // waits until the operation has ended.
    void showText(const QString& text);
    const QString& text() const { return text_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
};

}  // namespace qtshared
