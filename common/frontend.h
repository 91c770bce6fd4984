#pragma once
// The seam between the device code and whoever shows things to the technician: a Qt dialog,
// a command-line tool or a test. The core never calls a toolkit; it calls these.
#include <string>

#include "common/progress.h"

namespace common {

class Frontend {
  public:
    virtual ~Frontend() = default;
    // A message box with an OK button.
    virtual void message(const std::string& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool ask(const std::string& text) = 0;
    // The status line in its normal (black) form. An empty text clears it.
    virtual void setStatus(const std::string& text) = 0;
    // Progress of a transfer. Shown on the status line as its text unless the front end
    // shows progress its own way.
    virtual void progress(const Progress& report) { setStatus(report.status); }
    // The status line in its error (red) form; with sound plays the exclamation sound.
    virtual void reportError(const std::string& text, bool sound) = 0;
    // Wait cursor on or off while an operation runs.
    virtual void setBusy(bool busy) = 0;
    // The main window's title (the PLC's title text after a directory read).
    virtual void setTitle(const std::string& title) = 0;
};

}  // namespace common
