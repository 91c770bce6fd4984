// The widgets of QuarnWin on their own: the status line's colours and sound, the Qt front
// end, the variables window's painting and keys, and the file filters.
#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

#include "common/clock.h"
#include "link/scripted_device.h"
#include "link/serial_link.h"
#include "monitor/cell_painting.h"
#include "monitor/variable_display.h"
#include "plc/plc_programmer.h"
#include "plc_tool/qt/caption_fit.h"
#include "plc_tool/qt/file_dialogs.h"
#include "plc_tool/qt/qt_frontend.h"
#include "plc_tool/qt/quarnwin_dialog.h"
#include "plc_tool/qt/status_line.h"
#include "plc_tool/qt/tests/dialog_script.h"
#include "plc_tool/qt/variables_window.h"

using quarnwin::StatusLine;

namespace {

// A window with a status line at the bottom, as the main dialog has it.
struct StatusWindow {
    QWidget window;
    StatusLine* status = new StatusLine(&window);
    StatusWindow() {
        window.resize(300, 80);
        status->setGeometry(10, 40, 280, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};

monitor::DisplayPage KnownPage() {
    monitor::DisplayPage page;
    page.cells[0] = {"Motor", "MW10.1-", "1234"};
    page.cells[1] = {"", "E0.0", "1"};
    page.cells[2] = {"Heading", "", ""};  // a LEER variable: symbol only
    page.cells[8] = {"Temp", "MW12", "XXXXXXXXX"};
    page.usedCells = 9;  // cells 3 to 7 are empty: frames only
    return page;
}

}  // namespace

class WidgetsTest : public QObject {
    Q_OBJECT
  private slots:
    void statusTextsAreBlackAndErrorsRedUntilTheNextRepaint() {
        StatusWindow w;
        QSignalSpy drawn(w.status, &StatusLine::drawn);
        w.status->draw("Reset", StatusLine::Form::Normal);
        QCOMPARE(w.status->lastPaintedColour(), QColor(0, 0, 0));
        w.status->draw("Communication error", StatusLine::Form::ErrorWithSound);
        QCOMPARE(w.status->lastPaintedColour(), QColor(255, 0, 0));
        QCOMPARE(w.status->text(), QString("Communication error"));
        // The drawing is done when draw returns: the signal comes after the painting.
        QCOMPARE(drawn.count(), 2);
        QCOMPARE(drawn.at(1).at(1).toInt(), 1);

        // Any later painting draws the same text in black.
        w.status->repaint();
        QCOMPARE(w.status->lastPaintedColour(), QColor(0, 0, 0));
        QCOMPARE(w.status->text(), QString("Communication error"));

        w.status->draw("quiet error", StatusLine::Form::Error);
        QCOMPARE(w.status->lastPaintedColour(), QColor(255, 0, 0));
        QCOMPARE(drawn.at(2).at(1).toInt(), 2);
    }

    void anEmptyTextLeavesTheFilledArea() {
        StatusWindow w;
        w.status->draw("something", StatusLine::Form::Normal);
        w.status->draw("", StatusLine::Form::Normal);
        QImage image = w.status->grab().toImage();
        const QColor fill = w.status->palette().color(QPalette::ToolTipBase);
        for (int x = 0; x < image.width(); x += 7)
            for (int y = 0; y < image.height(); y += 3) QCOMPARE(image.pixelColor(x, y), fill);
        // Texts longer than the status buffer are cut.
        w.status->draw(QString(300, 'x'), StatusLine::Form::Normal);
        QCOMPARE(w.status->text().size(), qsizetype(StatusLine::kMaxLength));
    }

    void frontendShowsMessagesTitledWithTheProgramAndKeepsTheCursorBalanced() {
        StatusWindow w;
        quarnwin::QtFrontend frontend(w.window, *w.status);
        quarnwin::testing::DialogScript script;
        script.Press(QMessageBox::Ok).Press(QMessageBox::No).Press(QMessageBox::Yes);
        frontend.message("Kein Konfigurationsblock");
        QVERIFY(!frontend.ask("Are you sure ?"));
        frontend.setBusy(true);
        frontend.setBusy(true);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QVERIFY(frontend.ask("Ovwewrite Files?"));
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        frontend.setBusy(false);
        frontend.setBusy(false);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(script.texts(),
                 QStringList({"Kein Konfigurationsblock", "Are you sure ?", "Ovwewrite Files?"}));
        QCOMPARE(script.titles(), QStringList({"QuarnWin", "QuarnWin", "QuarnWin"}));
        QVERIFY(script.errors().isEmpty());

        frontend.reportError("No answer from SPS! Please check connection and retry.", true);
        QCOMPARE(w.status->lastPaintedColour(), QColor(255, 0, 0));
        frontend.setTitle(std::string("ANLAGE 7\0garbage", 16));
        QCOMPARE(w.window.windowTitle(), QString("ANLAGE 7"));
    }

    void variablesWindowPaintsTheCellsOfAKnownPage() {
        quarnwin::CVariablesWnd window(nullptr, "/p/anlage.ot   Navigate with: Up,Dn,PgUp,PgDn");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // 720 x 428 outside, frame included; fixed, with no maximise or minimise box.
        QCOMPARE(window.frameGeometry(), QRect(0, 0, 720, 428));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        const Qt::WindowFlags flags = window.windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowTitleHint) && flags.testFlag(Qt::WindowSystemMenuHint) &&
                flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint) &&
                !flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(window.isModal());
        QCOMPARE(window.windowModality(), Qt::ApplicationModal);
        window.ShowPage(KnownPage());
        QCOMPARE(window.paintedTexts(), QStringList({"Motor", "MW10.1-", "1234", "E0.0", "1",
                                                     "Heading", "", "Temp", "MW12", "XXXXXXXXX"}));

        QImage image = window.grab().toImage();
        // Cell 0: symbol row dark green (y 8..21), operand row green, value row dark blue;
        // sampled at the right end of the rows, away from the texts.
        QCOMPARE(image.pixelColor(76, 10), QColor(0, 128, 0));
        QCOMPARE(image.pixelColor(76, 24), QColor(0, 128, 0));
        QCOMPARE(image.pixelColor(76, 38), QColor(0, 0, 128));
        // Cell 1 has no symbol: black above its operand row.
        QCOMPARE(image.pixelColor(90 + 76, 10), QColor(0, 0, 0));
        // Cell 2 (LEER): the symbol row and an empty blue value row, no operand row.
        QCOMPARE(image.pixelColor(180 + 76, 10), QColor(0, 128, 0));
        QCOMPARE(image.pixelColor(180 + 76, 24), QColor(0, 0, 0));
        QCOMPARE(image.pixelColor(180 + 76, 38), QColor(0, 0, 128));
        // Cell 3 is empty (only a black frame); cell 8 starts the second band at y 64.
        QCOMPARE(image.pixelColor(270 + 40, 38), QColor(0, 0, 0));
        QCOMPARE(image.pixelColor(76, 64 + 10), QColor(0, 128, 0));
        // The outlines are black.
        QCOMPARE(image.pixelColor(0, 8), QColor(0, 0, 0));
        // Symbol text in yellow somewhere in cell 0's symbol row.
        bool yellow = false;
        for (int x = 0; x < 60 && !yellow; ++x)
            for (int y = 9; y < 21 && !yellow; ++y)
                yellow = image.pixelColor(x, y) == QColor(255, 255, 15);
        QVERIFY(yellow);

        // A BYTEA value's bytes 0x80 to 0x9F are the ANSI font's characters, not controls.
        monitor::DisplayPage bytes;
        bytes.cells[0] = {"Raw", "MB0", std::string("\x80\x84\x8A\x9F\xE4 ")};
        bytes.usedCells = 1;
        window.ShowPage(bytes);
        QCOMPARE(window.paintedTexts().value(2),
                 QString::fromUtf8("\u20AC\u201E\u0160\u0178\u00E4 "));
    }

    void variablesWindowPagesOnKeyReleaseAndNotesTheClosing() {
        common::FakeClock clock;
        serial::ScriptedDevice device(clock);
        StatusWindow w;
        quarnwin::QtFrontend frontend(w.window, *w.status);
        serial::CSerialLink link(device, frontend, serial::Program::QuarnWin);
        plc::CPlcProgrammer programmer(link, clock, frontend);
        monitor::VariableDisplay display(programmer);

        quarnwin::CVariablesWnd window(nullptr, "t");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // A key press alone does nothing; the release pages.
        QTest::keyPress(&window, Qt::Key_PageDown);
        window.Pump(display);
        QCOMPARE(display.Position().TopIndex(), 0);
        QTest::keyRelease(&window, Qt::Key_PageDown);
        window.Pump(display);
        QCOMPARE(display.Position().TopIndex(), 56);
        QCOMPARE(display.Position().PreviousTopIndex(), 0);
        QTest::keyClick(&window, Qt::Key_Down);
        window.Pump(display);
        QCOMPARE(display.Position().TopIndex(), 64);
        QTest::keyClick(&window, Qt::Key_Up);
        QTest::keyClick(&window, Qt::Key_Up);
        window.Pump(display);
        QCOMPARE(display.Position().TopIndex(), 48);
        QTest::keyClick(&window, Qt::Key_PageUp);
        QTest::keyClick(&window, Qt::Key_Left);  // not a paging key
        window.Pump(display);
        QCOMPARE(display.Position().TopIndex(), 0);

        // Closing asks the loop to end; the window stays until the operation removes it.
        window.close();
        QVERIFY(window.isVisible());
        QVERIFY(window.closeRequested());
    }

    void everyCaptionOfTheMainDialogIsWholeWithTheDesktopsFonts() {
        // The desktop's own font, and every sans serif family the machine has at the sizes
        // desktops use.
        const QFont desktop = QApplication::font();
        QList<QFont> fonts{desktop};
        for (const QString& family : QFontDatabase::families())
            if (family.contains("Sans") && !family.contains("Mono"))
                for (int points : {8, 9, 10, 11}) fonts << QFont(family, points);
        for (const QFont& font : fonts) {
            QApplication::setFont(font);
            common::FakeClock clock;  // the PLC programmer's start-up wait costs nothing
            quarnwin::QuarnWinOptions options;
            options.clock = &clock;
            quarnwin::CQuarnWinDlg dialog(options);
            const QStringList cut = quarnwin::CutCaptions(dialog);
            QVERIFY2(cut.isEmpty(), qPrintable(QString("%1 %2pt: %3")
                                                   .arg(font.family())
                                                   .arg(font.pointSize())
                                                   .arg(cut.join("; "))));
        }
        QApplication::setFont(desktop);
    }

    void filtersBecomeNameFilters() {
        QCOMPARE(quarnwin::NameFilters("Project file (*.pr)|*.pr||"),
                 QStringList({"Project file (*.pr)"}));
        QCOMPARE(quarnwin::NameFilters("Prokect file (*.pr)|*.pr|All Files (*.*)|*.*||"),
                 QStringList({"Prokect file (*.pr)", "All Files (*)"}));
        QCOMPARE(quarnwin::FilterPatterns("Symbol file (*.ot)"), QStringList({"*.ot"}));
    }
};

QTEST_MAIN(WidgetsTest)
#include "widgets_test.moc"
