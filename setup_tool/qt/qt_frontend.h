#pragma once
// The setup tool's front end in the Qt program: message boxes titled with the program's
// name, the status line of the main dialog, the wait cursor and the window title.
#include <QString>
#include <QWidget>

#include "common/frontend.h"
#include "setup_tool/qt/status_line_widget.h"

namespace skellig {

inline constexpr char kProgramName[] = "Skellig";

// Program texts are UTF-8; bytes that are not (a file name, say) are shown as Latin-1.
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

}  // namespace skellig
