#pragma once
// The Frontend of the dialog program: message boxes titled with the program's name, the
// status line widget, the wait cursor.
#include <QString>
#include <QWidget>
#include <string>

#include "common/frontend.h"
#include "protocol_tool/qt/status_line_widget.h"

namespace vantor {

inline constexpr char kProgramName[] = "Vantor";

// Texts from the core as the screen shows them: UTF-8 where they are (paths, messages),
// otherwise byte by byte, so a display line with its own codes still shows every character.
QString ToDisplayText(const std::string& bytes);

class QtFrontend final : public common::Frontend {
public:
    QtFrontend(QWidget* window, StatusLineWidget* statusLine)
        : window_(window), statusLine_(statusLine) {}

    void message(const std::string& text) override;
    bool ask(const std::string& text) override;
    void setStatus(const std::string& text) override;
    void reportError(const std::string& text, bool sound) override;
    void setBusy(bool busy) override;
    void setTitle(const std::string& title) override;

private:
    QWidget* window_;
    StatusLineWidget* statusLine_;
};

}  // namespace vantor
