#include "cli/console_frontend.h"

#include <iostream>

#include "cli/terminal.h"

namespace cli {

std::string WithoutTrailingNewline(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

ConsoleFrontend::ConsoleFrontend(bool assumeYes, std::FILE* out, std::FILE* err)
    : assumeYes_(assumeYes),
      out_(out),
      err_(err),
      outIsTerminal_(IsTerminal(out)),
      errIsTerminal_(IsTerminal(err)),
      inIsTerminal_(IsTerminal(stdin)),
      outCanErase_(outIsTerminal_ && CanEraseLine(out)) {}

// Status lines, module names and titles may come from the device: on a terminal their control
// bytes are shown escaped, in a file they stay as they are.
std::string ConsoleFrontend::forOut(const std::string& text) const {
    return outIsTerminal_ ? EscapeControlBytes(text) : text;
}

std::string ConsoleFrontend::forErr(const std::string& text) const {
    return errIsTerminal_ ? EscapeControlBytes(text) : text;
}

ConsoleFrontend::~ConsoleFrontend() {
    endProgressLine();
}

void ConsoleFrontend::endProgressLine() {
    if (progressOpen_) {
        std::fputc('\n', out_);
        std::fflush(out_);
        progressOpen_ = false;
        progressWidth_ = 0;
        progressLabel_.clear();
    }
}

void ConsoleFrontend::message(const std::string& text) {
    endProgressLine();
    std::fprintf(err_, "%s\n", forErr(WithoutTrailingNewline(text)).c_str());
    std::fflush(err_);
}

bool ConsoleFrontend::ask(const std::string& text) {
    endProgressLine();
    const std::string question = forErr(WithoutTrailingNewline(text));
    if (assumeYes_) {
        std::fprintf(err_, "%s [y/N] yes (--yes)\n", question.c_str());
        return true;
    }
    if (!inIsTerminal_) {
        std::fprintf(err_, "%s [y/N] no (no terminal to ask; use --yes)\n", question.c_str());
        return false;
    }
    std::fprintf(err_, "%s [y/N] ", question.c_str());
    std::fflush(err_);
    std::string answer;
    if (!std::getline(std::cin, answer)) return false;
    return !answer.empty() &&
           (answer[0] == 'y' || answer[0] == 'Y' || answer[0] == 'j' || answer[0] == 'J');
}

void ConsoleFrontend::setStatus(const std::string& text) {
    printLine(text);
}

void ConsoleFrontend::progress(const common::Progress& report) {
    if (!outIsTerminal_) {
        printLine(report.status);
        return;
    }
    // A new module or page run starts a line of its own; the last count of the one before
    // stays on the screen.
    if (progressOpen_ && report.label != progressLabel_) endProgressLine();
    const std::string shown = forOut(report.status);
    std::fputs(RewriteLine(shown, progressWidth_, outCanErase_).c_str(), out_);
    std::fflush(out_);
    progressOpen_ = true;
    progressLabel_ = report.label;
    progressWidth_ = shown.size();
}

void ConsoleFrontend::printLine(const std::string& text) {
    endProgressLine();
    std::fprintf(out_, "%s\n", forOut(text).c_str());
    std::fflush(out_);
}

void ConsoleFrontend::reportError(const std::string& text, bool /*sound*/) {
    endProgressLine();
    errorReported_ = true;
    std::fprintf(err_, "%s\n", forErr(text).c_str());
    std::fflush(err_);
}

void ConsoleFrontend::setTitle(const std::string& title) {
    printLine("Title: " + title);
}

}  // namespace cli
