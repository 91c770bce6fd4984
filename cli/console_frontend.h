#pragma once
// The Frontend of the command-line tools: status texts on standard output as they are set
// (a progress line rewrites itself when standard output is a terminal, and is ended before
// anything else is written), messages and
// errors on standard error, questions answered by --yes, by the technician at the terminal,
// or No when nobody can be asked. On a terminal, control bytes in the texts (which may come
// from the device) are shown as \xHH; redirected output keeps them as they are.
#include <cstddef>
#include <cstdio>
#include <string>

#include "common/frontend.h"

namespace cli {

class ConsoleFrontend final : public common::Frontend {
  public:
    // assumeYes: --yes. out/err: where to write (stdout/stderr by default).
    explicit ConsoleFrontend(bool assumeYes, std::FILE* out = stdout, std::FILE* err = stderr);
    ~ConsoleFrontend() override;

    void message(const std::string& text) override;
    bool ask(const std::string& text) override;
    void setStatus(const std::string& text) override;
    void reportError(const std::string& text, bool sound) override;
    void setBusy(bool) override {}
    void setTitle(const std::string& title) override;

    // Progress rewrites one line on a terminal while the same thing moves; elsewhere each
    // report is a line of its own.
    void progress(const common::Progress& report) override;
    // A line of the tool's own output on standard output, below any progress line.
    void printLine(const std::string& text);
    // True once an error was reported: the tool's exit status then says failure.
    bool errorReported() const { return errorReported_; }

  private:
    void endProgressLine();
    std::string forOut(const std::string& text) const;
    std::string forErr(const std::string& text) const;
    bool assumeYes_;
    std::FILE* out_;
    std::FILE* err_;
    bool outIsTerminal_;
    bool errIsTerminal_;
    bool inIsTerminal_;
    bool outCanErase_;
    bool progressOpen_ = false;
    std::string progressLabel_;      // what the open progress line counts
    std::size_t progressWidth_ = 0;  // the characters it shows
    bool errorReported_ = false;
};

// Strips one trailing "\n" (message texts such as "No USB Serial converter found\n").
std::string WithoutTrailingNewline(std::string text);

}  // namespace cli
