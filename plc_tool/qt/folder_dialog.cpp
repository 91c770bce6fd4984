#include "plc_tool/qt/folder_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QToolButton>

#include "plc_tool/qt/drive_kind.h"
#include "plc_tool/qt/file_dialogs.h"
#include "plc_tool/qt/folder_field.h"
#include "plc_tool/qt/qt_frontend.h"
#include "qt_shared/core_path.h"

namespace quarnwin {

namespace {

// UTF-8 byte positions of the picker and character positions of the field.
size_t BytePosition(const QString& text, int position) {
    return static_cast<size_t>(text.left(position).toUtf8().size());
}
int CharacterPosition(const std::string& text, size_t position) {
    return static_cast<int>(ToQString(text.substr(0, position)).size());
}

}  // namespace

FolderPathStyle NativeFolderStyle() {
    FolderPathStyle style = FolderPathStyle::Native();
    if (style.drives) style.driveKind = DriveKindOf;
    return style;
}

CFolderDialog::CFolderDialog(const QString& initialFolder, const QString& filter, QWidget* parent,
                             common::Frontend& frontend)
    : QDialog(parent) {
    setWindowTitle(FolderPicker::kTitle);
    auto* layout = new QGridLayout(this);

    layout->addWidget(new QLabel("Look in:", this), 0, 0);
    lookIn_ = new QLabel(this);
    lookIn_->setObjectName("lookIn");
    lookIn_->setFrameShape(QFrame::StyledPanel);
    lookIn_->setMinimumWidth(280);
    layout->addWidget(lookIn_, 0, 1);
    auto* up = new QToolButton(this);
    up->setObjectName("up");
    up->setArrowType(Qt::UpArrow);
    up->setToolTip("Up One Level");
    connect(up, &QToolButton::clicked, this, [this] { OnUp(); });
    layout->addWidget(up, 0, 2);

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
    model_->setNameFilterDisables(false);
    browser_ = new QListView(this);
    browser_->setObjectName("browser");
    browser_->setModel(model_);
    browser_->setViewMode(QListView::ListMode);
    browser_->setFlow(QListView::TopToBottom);
    browser_->setWrapping(true);
    browser_->setResizeMode(QListView::Adjust);
    browser_->setMinimumSize(420, 200);
    connect(browser_, &QListView::activated, this,
            [this](const QModelIndex& i) { OnActivated(i); });
    browser_->installEventFilter(this);
    layout->addWidget(browser_, 1, 0, 1, 4);

    layout->addWidget(new QLabel(FolderPicker::kFieldLabel, this), 2, 0);
    field_ = new FolderFieldEdit(this);
    field_->setObjectName("folderField");
    layout->addWidget(field_, 2, 1, 1, 2);
    open_ = new QPushButton(FolderPicker::kOpenCaption, this);
    open_->setObjectName("open");
    open_->setDefault(true);
    connect(open_, &QPushButton::clicked, this, [this] { OnOpen(); });
    layout->addWidget(open_, 2, 3);

    layout->addWidget(new QLabel("Files of type:", this), 3, 0);
    types_ = new QComboBox(this);
    types_->setObjectName("types");
    const QStringList parts = ToQString(FolderPicker::FilterText(filter.toStdString())).split('|');
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2)
        types_->addItem(parts[i], parts[i + 1]);
    connect(types_, &QComboBox::currentIndexChanged, this, [this](int i) { OnFilterChosen(i); });
    layout->addWidget(types_, 3, 1, 1, 2);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cancel");
    // Enter on the focused Cancel button cancels; elsewhere it presses "Open".
    cancel->setAutoDefault(true);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(cancel, 3, 3);

    setTabOrder(field_, open_);
    setTabOrder(open_, cancel);

    FolderPickerView& view = *this;
    picker_ = std::make_unique<FolderPicker>(view, frontend, NativeFolderStyle());
    field_->onTab = [this] { picker_->Tab(); };
    field_->onEnter = [this] { picker_->Enter(); };
    field_->onAfterDelete = [this] { picker_->AfterDelete(); };
    field_->onAfterCharacter = [this](char typed) { picker_->AfterCharacter(typed); };

    OnFilterChosen(0);
    picker_->Start(qtshared::ToCorePath(initialFolder), qtshared::ToCorePath(QDir::currentPath()));
}

CFolderDialog::~CFolderDialog() = default;

void CFolderDialog::setVisible(bool visible) {
    QDialog::setVisible(visible);
    // Showing the dialog focuses the field as if it had been tabbed into, which selects the
    // whole folder; the folder it starts in leaves the caret at the end instead, so typing
    // goes on from there.
    if (visible) field_->end(false);
}

bool CFolderDialog::eventFilter(QObject* watched, QEvent* event) {
    // Enter on a folder of the list enters it, as a double click does; the key must not
    // go on to the dialog, where it would press "Open" and end the dialog.
    if (watched == browser_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QModelIndex current = browser_->currentIndex();
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && current.isValid() &&
            model_->isDir(current)) {
            OnActivated(current);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString CFolderDialog::folder() const {
    return qtshared::FromCorePath(picker_->Folder());
}

FolderField CFolderDialog::field() const {
    const QString text = field_->text();
    FolderField field;
    field.text = text.toStdString();
    if (field_->hasSelectedText()) {
        int start = field_->selectionStart();
        field.selectionStart = BytePosition(text, start);
        field.selectionEnd =
            BytePosition(text, start + static_cast<int>(field_->selectedText().size()));
    } else {
        field.selectionStart = field.selectionEnd = BytePosition(text, field_->cursorPosition());
    }
    return field;
}

void CFolderDialog::setField(const FolderField& field) {
    field_->setText(ToQString(field.text));
    int start = CharacterPosition(field.text, field.selectionStart);
    int end = CharacterPosition(field.text, field.selectionEnd);
    if (start == end)
        field_->setCursorPosition(end);
    else
        field_->setSelection(start, end - start);
}

void CFolderDialog::showFolder(const std::string& folder) {
    browsed_ = qtshared::FromCorePath(folder);
    const QString path = QDir::cleanPath(browsed_);
    model_->setRootPath(path);
    browser_->setRootIndex(model_->index(path));
    lookIn_->setText(browsed_);
}

void CFolderDialog::focusField() {
    field_->setFocus();
}

void CFolderDialog::focusOpenButton() {
    open_->setFocus();
}

void CFolderDialog::OnOpen() {
    if (picker_->Open() == FolderPicker::Decision::Accept) accept();
}

void CFolderDialog::OnUp() {
    QDir folder(browsed_);
    if (!folder.cdUp()) return;
    std::string path = picker_->style().FolderText(qtshared::ToCorePath(folder.absolutePath()));
    showFolder(path);
    picker_->FolderChanged(path);
}

void CFolderDialog::OnActivated(const QModelIndex& index) {
    if (!model_->isDir(index)) return;
    std::string path = picker_->style().FolderText(qtshared::ToCorePath(model_->filePath(index)));
    showFolder(path);
    picker_->FolderChanged(path);
}

void CFolderDialog::OnFilterChosen(int index) {
    QString patterns = types_->itemData(index).toString();
    patterns.replace("*.*", "*");
    model_->setNameFilters(patterns.split(';', Qt::SkipEmptyParts));
}

}  // namespace quarnwin
