#pragma once
// The Frontend of a text display tool's dialog program: message boxes titled with the
// program's name, the status line widget, the wait cursor and the window title.
#include <QString>
#include <QWidget>
#include <string>

#include "common/frontend.h"
#include "qt_shared/status_line_widget.h"

namespace qtshared {

// Texts from the core as the screen shows them: UTF-8 where they are (paths, messages),
// otherwise byte by byte as Latin-1, so a display line with its own codes still shows every
// character.
QString ToDisplayText(const std::string& bytes);

class DialogFrontend final : public common::Frontend {
  public:
    DialogFrontend(const char* programName, QWidget* window, StatusLineWidget* statusLine)
        : programName_(programName), window_(window), statusLine_(statusLine) {}

    void message(const std::string& text) override;
    bool ask(const std::string& text) override;
    void setStatus(const std::string& text) override;
    void reportError(const std::string& text, bool sound) override;
    void setBusy(bool busy) override;
    void setTitle(const std::string& title) override;

  private:
    const char* programName_;
    QWidget* window_;
    StatusLineWidget* statusLine_;
};

}  // namespace qtshared
