#pragma once
// What the folder dialog does, without the dialog: the current folder, the folder field with
// its type-ahead completion, the checks of the "Open" button with their questions and
// messages, and creating a missing folder. The dialog feeds it the technician's keys and
// shows what it decides; tests drive it the same way.
#include <cstddef>
#include <string>

#include "common/frontend.h"
#include "plc_tool/core/folder_path_rules.h"

namespace quarnwin {

// The folder field: its text and selection, the caret at selectionEnd. Positions count
// bytes of the UTF-8 text.
struct FolderField {
    std::string text;
    size_t selectionStart = 0;
    size_t selectionEnd = 0;

    bool CaretAtEnd() const {
        return selectionStart == selectionEnd && selectionEnd == text.size();
    }
};

// The dialog side: the field, the browser and where the keyboard focus goes.
class FolderPickerView {
  public:
    virtual ~FolderPickerView() = default;
    virtual FolderField field() const = 0;
    virtual void setField(const FolderField& field) = 0;
    // The browser lists this folder from now on.
    virtual void showFolder(const std::string& folder) = 0;
    virtual void focusField() = 0;
    virtual void focusOpenButton() = 0;
};

class FolderPicker {
  public:
    enum class Decision { Stay, Accept };

    static constexpr const char* kTitle = "Select Folder";
    static constexpr const char* kFieldLabel = "Folder:";
    static constexpr const char* kOpenCaption = "Open";
    static constexpr const char* kFoldersOnlyFilter = "Show Folders Only|.|";
    static constexpr const char* kAllFilesFilter = "All Files (*.*)|*.*||";

    // Messages and questions go to the front end (plain message boxes).
    FolderPicker(FolderPickerView& view, common::Frontend& frontend,
                 FolderPathStyle style = FolderPathStyle::Native());

    // The dialog is ready: the browser starts at the initial folder (the working folder when
    // that does not exist) and the field shows it.
    void Start(const std::string& initialFolder, const std::string& workingFolder);

    // The browser entered another folder.
    void FolderChanged(const std::string& folder);
    // Puts the text into the browser: it enters the folder the text names; the field then
    // keeps the browser's folder or gets the earlier text back (see the .cpp).
    void Navigate(const std::string& text);

    // The "Open" button: Accept when the dialog ends with OK (the result is then Folder()).
    Decision Open();
    // Keys in the folder field, after the field's own editing.
    void Tab();
    void Enter();
    void AfterDelete();
    // A character was inserted (or removed, for Backspace '\b').
    void AfterCharacter(char typed);

    // The result: the browser's folder, always ending with the separator.
    const std::string& Folder() const { return folder_; }
    const FolderPathStyle& style() const { return style_; }

    // The dialog's filter: "Show Folders Only|.|" followed by the caller's, or by
    // "All Files (*.*)|*.*||" when none was given.
    static std::string FilterText(const std::string& callerFilter);

  private:
    Decision Stop();
    // Asks whether to create the folder and creates it; false when it does not exist after.
    bool OfferCreation(const std::string& text, const char* otherDriveFailure);
    bool IsFolder(const std::string& text) const;
    bool IsAbsolute(const std::string& text) const;
    void TypeAhead(char typed);

    FolderPickerView& view_;
    common::Frontend& frontend_;
    FolderPathStyle style_;
    std::string folder_;
};

}  // namespace quarnwin
