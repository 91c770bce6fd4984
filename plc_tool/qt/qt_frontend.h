#pragma once
// The PLC tool's front end in the Qt program: message boxes titled with the program's name,
// the status line of the main dialog, the wait cursor and the window title.
#include <QPointer>
#include <QString>
#include <QWidget>

#include "common/frontend.h"
#include "plc_tool/qt/status_line.h"

namespace quarnwin {

class QtFrontend final : public common::Frontend {
  public:
    static constexpr const char* kProgramName = "QuarnWin";

    QtFrontend(QWidget& window, StatusLine& status);
    ~QtFrontend() override;
    QtFrontend(const QtFrontend&) = delete;
    QtFrontend& operator=(const QtFrontend&) = delete;

    void message(const std::string& text) override;
    bool ask(const std::string& text) override;
    void setStatus(const std::string& text) override;
    void reportError(const std::string& text, bool sound) override;
    void setBusy(bool busy) override;
    void setTitle(const std::string& title) override;

    bool busy() const { return busyDepth_ > 0; }

  private:
    // The wait cursor does not belong over a question: the arrow while a box is open.
    class ArrowWhileAsking;

    QWidget& window_;
    StatusLine& status_;
    int busyDepth_ = 0;
};

// Device and program texts as the toolkit shows them (program texts are UTF-8).
QString ToQString(const std::string& text);

}  // namespace quarnwin
