#pragma once
// CVariablesWnd: the window of "Show variables". Draws the page the display loop hands it
// (black, 8 x 7 cells of symbol, operand and value rows) and passes the paging keys, taken on
// their release, and its closing back to the loop. Application-modal while the loop runs,
// so only this window takes input and the others only repaint.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "monitor/display_page.h"
#include "monitor/paging.h"
#include "monitor/variable_display.h"

namespace quarnwin {

class CVariablesWnd final : public QWidget, public monitor::VariableViewer {
    Q_OBJECT
  public:
    CVariablesWnd(QWidget* owner, const QString& title);

    // monitor::VariableViewer
    void Pump(monitor::VariableDisplay& display) override;
    void Redraw(const monitor::DisplayPage& page, monitor::VariableDisplay& display) override;

    // Draws a page now (also for screenshots and tests).
    void ShowPage(const monitor::DisplayPage& page);
    const monitor::DisplayPage& page() const { return page_; }
    // The texts written by the last painting, in order, for tests.
    const QStringList& paintedTexts() const { return paintedTexts_; }
    bool closeRequested() const { return closeRequested_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    void FitOutsideSize();

    monitor::DisplayPage page_;
    std::vector<monitor::PagingKey> keys_;
    bool closeRequested_ = false;
    QStringList paintedTexts_;
};

}  // namespace quarnwin
