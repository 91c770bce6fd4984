#pragma once
// The folder field of the folder dialog: a line edit that wants every key. Tab, Enter,
// Delete and typed characters are handed to the folder picker after the field's own
// editing.
#include <QLineEdit>
#include <functional>

namespace quarnwin {

class FolderFieldEdit final : public QLineEdit {
    Q_OBJECT
  public:
    explicit FolderFieldEdit(QWidget* parent) : QLineEdit(parent) {}

    std::function<void()> onTab;
    std::function<void()> onEnter;
    std::function<void()> onAfterDelete;
    std::function<void(char typed)> onAfterCharacter;

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace quarnwin
