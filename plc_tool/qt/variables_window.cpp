#include "plc_tool/qt/variables_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>

#include "monitor/cell_painting.h"
#include "plc_tool/qt/ansi_text.h"
#include "qt_shared/paint_pump.h"

namespace quarnwin {

namespace paint = monitor::painting;

namespace {

QColor ToColour(const paint::Rgb& rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// The rectangle covers left..right-1 and top..bottom-1, outline included.
QRect ToOutline(const paint::Rect& r) {
    return QRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1);
}

// An overlapped window with caption and system menu (and so its close box): no resizing,
// no minimise or maximise box.
constexpr Qt::WindowFlags kWindowStyle = Qt::Window | Qt::CustomizeWindowHint |
                                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                         Qt::WindowCloseButtonHint;

}  // namespace

CVariablesWnd::CVariablesWnd(QWidget* owner, const QString& title) : QWidget(owner, kWindowStyle) {
    setWindowTitle(title);
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    FitOutsideSize();
    // The window, frame and title bar included, sits at the top left corner of the screen;
    // a client position of (0, 0) would push the title bar off the screen.
    move(0, 0);
}

void CVariablesWnd::FitOutsideSize() {
    // 720 x 428 is the window's outside, frame and title bar included; the desktop tells the
    // frame only once the window is on the screen.
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize client = QSize(paint::kWindowWidth, paint::kWindowHeight) - frame;
    if (minimumSize() != client || maximumSize() != client) setFixedSize(client);
}

void CVariablesWnd::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FitOutsideSize();
}

void CVariablesWnd::moveEvent(QMoveEvent* event) {
    // A desktop that puts its frame round the window moves the client area.
    QWidget::moveEvent(event);
    FitOutsideSize();
}

void CVariablesWnd::Pump(monitor::VariableDisplay& display) {
    // Everything waiting is handled: this window is modal, so the others only repaint, and
    // a close of the main dialog waits until the display has ended.
    if (QWidget* owner = parentWidget())
        qtshared::DispatchPendingEvents(*owner);
    else
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    for (monitor::PagingKey key : keys_) display.PressKey(key);
    keys_.clear();
    if (closeRequested_) display.Close();
}

void CVariablesWnd::Redraw(const monitor::DisplayPage& page, monitor::VariableDisplay&) {
    ShowPage(page);
}

void CVariablesWnd::ShowPage(const monitor::DisplayPage& page) {
    page_ = page;
    repaint();
}

void CVariablesWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToColour(paint::kBackground));
    QFont font(paint::kFontFamily);
    font.setPixelSize(paint::kFontHeight);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // The device's window font is a raster font: every pixel of a letter in the text colour,
    // whichever outline font the desktop puts in its place.
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    paintedTexts_.clear();

    for (int i = 0; i < page_.usedCells; ++i) {
        std::optional<paint::CellPainting> cell = paint::PaintCell(page_, i);
        if (!cell) continue;
        if (cell->frameOnly) {
            painter.setPen(QPen(ToColour(paint::kOutline), paint::kOutlineWidth));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(ToOutline(cell->frame));
            continue;
        }
        for (const auto& row : {cell->symbolRow, cell->operandRow, cell->valueRow}) {
            if (!row) continue;
            painter.setPen(QPen(ToColour(paint::kOutline), paint::kOutlineWidth));
            painter.setBrush(ToColour(row->fill));
            painter.drawRect(ToOutline(row->rect));
            const paint::Rect& r = row->rect;
            painter.setPen(ToColour(row->textColour));
            painter.drawText(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, FromAnsi(row->text));
            paintedTexts_ << FromAnsi(row->text);
        }
    }
}

void CVariablesWnd::keyReleaseEvent(QKeyEvent* event) {
    // A held key pages once, when it is let go.
    if (event->isAutoRepeat()) return;
    switch (event->key()) {
        case Qt::Key_PageUp:
            keys_.push_back(monitor::PagingKey::kPageUp);
            break;
        case Qt::Key_PageDown:
            keys_.push_back(monitor::PagingKey::kPageDown);
            break;
        case Qt::Key_Up:
            keys_.push_back(monitor::PagingKey::kCursorUp);
            break;
        case Qt::Key_Down:
            keys_.push_back(monitor::PagingKey::kCursorDown);
            break;
        default:
            QWidget::keyReleaseEvent(event);
            return;
    }
    event->accept();
}

void CVariablesWnd::closeEvent(QCloseEvent* event) {
    // The loop ends after its current cycle; the window goes when the operation ends.
    closeRequested_ = true;
    event->ignore();
}

}  // namespace quarnwin
