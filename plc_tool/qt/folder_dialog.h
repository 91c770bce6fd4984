#pragma once
// CFolderDialog: picks a folder for the upload. A folder browser, the "Folder:" field with
// type-ahead completion and the "Open" button that checks the typed folder, offers to
// create a missing one and ends the dialog. The decisions are the FolderPicker's; this class
// shows them.
#include <QDialog>
#include <QString>
#include <memory>

#include "common/frontend.h"
#include "plc_tool/core/folder_picker.h"

class QComboBox;
class QFileSystemModel;
class QLabel;
class QListView;
class QPushButton;

namespace quarnwin {

class FolderFieldEdit;

class CFolderDialog final : public QDialog, private FolderPickerView {
    Q_OBJECT
  public:
    // filter: "Description|pattern|...||", or empty for all files.
    CFolderDialog(const QString& initialFolder, const QString& filter, QWidget* parent,
                  common::Frontend& frontend);
    ~CFolderDialog() override;

    // The chosen folder, ending with the separator (valid after OK).
    QString folder() const;

    FolderPicker& picker() { return *picker_; }
    FolderFieldEdit& folderField() { return *field_; }
    QPushButton& openButton() { return *open_; }
    QListView& browser() { return *browser_; }
    // The folder the browser lists.
    QString browsedFolder() const { return browsed_; }

    void setVisible(bool visible) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // FolderPickerView
    FolderField field() const override;
    void setField(const FolderField& field) override;
    void showFolder(const std::string& folder) override;
    void focusField() override;
    void focusOpenButton() override;

    void OnOpen();
    void OnUp();
    void OnActivated(const QModelIndex& index);
    void OnFilterChosen(int index);

    QFileSystemModel* model_ = nullptr;
    QListView* browser_ = nullptr;
    QLabel* lookIn_ = nullptr;
    FolderFieldEdit* field_ = nullptr;
    QPushButton* open_ = nullptr;
    QComboBox* types_ = nullptr;
    QString browsed_;
    std::unique_ptr<FolderPicker> picker_;
};

// The drive rules of the machine the program runs on (drive kinds where drives exist).
FolderPathStyle NativeFolderStyle();

}  // namespace quarnwin
