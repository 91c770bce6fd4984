// The folder dialog as the technician uses it: typing into the folder field, Tab, Enter and
// the "Open" button, on a temporary folder tree.
#include "plc_tool/qt/folder_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "common/recording_frontend.h"
#include "plc_tool/qt/folder_field.h"
#include "plc_tool/qt/qt_frontend.h"
#include "plc_tool/qt/status_line.h"
#include "plc_tool/qt/tests/dialog_script.h"

using quarnwin::CFolderDialog;

class FolderDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir tree;
    // Paths in the tree as the dialog shows them: with the platform's separators.
    QString Path(const QString& relative) const {
        return QDir::toNativeSeparators(tree.path() + "/" + relative);
    }
    QString Root() const { return Path(""); }

  private slots:
    void init() {
        QVERIFY(tree.isValid());
        QDir(tree.path()).mkpath("PROGRAMME/inner");
        QDir(tree.path()).mkpath("data");
        QFile file(tree.path() + "/notes.txt");
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    void startsAtTheInitialFolderWithTheCaptionsAndFilters() {
        common::RecordingFrontend frontend;
        CFolderDialog dialog(Root(), "Prokect file (*.pr)|*.pr|All Files (*.*)|*.*||", nullptr,
                             frontend);
        QCOMPARE(dialog.windowTitle(), QString("Select Folder"));
        QCOMPARE(dialog.folderField().text(), Root());
        QCOMPARE(dialog.browsedFolder(), Root());
        QCOMPARE(dialog.openButton().text(), QString("Open"));
        QVERIFY(dialog.openButton().isDefault());
        auto* types = dialog.findChild<QComboBox*>("types");
        QVERIFY(types);
        QCOMPARE(types->count(), 3);
        QCOMPARE(types->itemText(0), QString("Show Folders Only"));
        QCOMPARE(types->itemText(1), QString("Prokect file (*.pr)"));
        bool labelled = false;
        for (auto* label : dialog.findChildren<QLabel*>()) labelled |= label->text() == "Folder:";
        QVERIFY(labelled);
    }

    void theShownFieldHasTheFocusWithTheCaretAtItsEnd() {
        common::RecordingFrontend frontend;
        CFolderDialog dialog(Root(), "", nullptr, frontend);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QApplication::setActiveWindow(&dialog);
        QTRY_VERIFY(dialog.folderField().hasFocus());
        // Typing goes on from the folder shown, it does not replace it.
        QVERIFY(!dialog.folderField().hasSelectedText());
        QCOMPARE(dialog.folderField().cursorPosition(), int(Root().size()));
        QTest::keyClicks(&dialog.folderField(), "da");
        QCOMPARE(dialog.folderField().text(), Path("data"));
    }

    void typingCompletesAndASeparatorEntersTheFolder() {
        common::RecordingFrontend frontend;
        CFolderDialog dialog(Root(), "", nullptr, frontend);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto& field = dialog.folderField();
        field.setFocus();
        field.end(false);
        QTest::keyClicks(&field, "PROG");
        QCOMPARE(field.text(), Path("PROGRAMME"));
        QCOMPARE(field.selectedText(), QString("RAMME"));
        // End accepts the completion; the separator enters the folder. The field keeps the
        // technician's own spelling ('/' where Windows would write '\').
        QTest::keyClick(&field, Qt::Key_End);
        QTest::keyClick(&field, '/');
        QCOMPARE(dialog.browsedFolder(), Path("PROGRAMME/"));
        QCOMPARE(field.text(), Path("PROGRAMME") + "/");

        // Tab goes to the "Open" button.
        QTest::keyClick(&field, Qt::Key_Tab);
        QVERIFY(dialog.openButton().hasFocus());
    }

    void openCreatesAMissingFolderAfterAskingAndReturnsItWithASeparator() {
        quarnwin::StatusLine status(nullptr);
        QWidget owner;
        quarnwin::QtFrontend frontend(owner, status);
        CFolderDialog dialog(Root(), "", nullptr, frontend);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.folderField().setText(Path("new/deeper"));

        quarnwin::testing::DialogScript script;
        script.Press(QMessageBox::Yes);
        dialog.openButton().click();
        QCOMPARE(script.texts(),
                 QStringList({Path("new/deeper") + "\nThis folder does not exist.\n\nDo you want "
                                                   "to create it?"}));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(QDir(Path("new/deeper")).exists());
        QCOMPARE(dialog.folder(), Path("new/deeper/"));
    }

    void enterOnAFileSaysItIsNoFolderAndTheDialogStays() {
        common::RecordingFrontend frontend;
        CFolderDialog dialog(Root(), "", nullptr, frontend);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.folderField().setText(Path("notes.txt"));
        dialog.folderField().setFocus();
        dialog.openButton().click();
        QCOMPARE(frontend.texts("message"),
                 std::vector<std::string>{Path("notes.txt").toStdString() +
                                          "\nThis is a file not a directory."});
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.folderField().hasFocus());

        // Enter on an existing folder enters it and stays in the field.
        dialog.folderField().setText(Path("data"));
        QTest::keyClick(&dialog.folderField(), Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.browsedFolder(), Path("data/"));
        QCOMPARE(dialog.folderField().text(), Path("data/"));
    }

    void theBrowserEntersAFolderOnActivation() {
        common::RecordingFrontend frontend;
        CFolderDialog dialog(Root(), "", nullptr, frontend);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto& browser = dialog.browser();
        auto row = [&](const QString& name) {
            for (int r = 0; r < browser.model()->rowCount(browser.rootIndex()); ++r) {
                QModelIndex i = browser.model()->index(r, 0, browser.rootIndex());
                if (i.data().toString() == name) return i;
            }
            return QModelIndex();
        };
        // The model lists the folder in the background.
        QTRY_VERIFY(row("data").isValid());
        // Files are not listed while "Show Folders Only" is chosen.
        QVERIFY(!row("notes.txt").isValid());
        emit browser.activated(row("data"));
        QCOMPARE(dialog.browsedFolder(), Path("data/"));
        QCOMPARE(dialog.folderField().text(), Path("data/"));
        dialog.findChild<QPushButton*>("cancel")->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void enterInTheBrowserEntersTheFolderAndOnCancelCancels() {
        common::RecordingFrontend frontend;
        CFolderDialog dialog(Root(), "", nullptr, frontend);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QApplication::setActiveWindow(&dialog);
        auto& browser = dialog.browser();
        QModelIndex data;
        QTRY_VERIFY([&] {
            for (int r = 0; r < browser.model()->rowCount(browser.rootIndex()); ++r) {
                QModelIndex i = browser.model()->index(r, 0, browser.rootIndex());
                if (i.data().toString() == "data") data = i;
            }
            return data.isValid();
        }());
        browser.setFocus();
        browser.setCurrentIndex(data);
        // Enter on a folder of the list enters it; the dialog stays open.
        QTest::keyClick(&browser, Qt::Key_Return);
        QCOMPARE(dialog.browsedFolder(), Path("data/"));
        QVERIFY(dialog.isVisible());

        // Enter on the focused Cancel button cancels, it does not press "Open".
        auto* cancel = dialog.findChild<QPushButton*>("cancel");
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(FolderDialogTest)
#include "folder_dialog_test.moc"
