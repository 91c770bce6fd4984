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
      inIsTerminal_(IsTerminal(stdin)) {}

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
    }
}

bool ConsoleFrontend::isProgress(const std::string& text) const {
    for (const auto& p : progress_)
        if (text.rfind(p, 0) == 0) return true;
    for (const auto& s : progressSuffixes_)
        if (text.size() >= s.size() && text.compare(text.size() - s.size(), s.size(), s) == 0)
            return true;
    return false;
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
    if (outIsTerminal_ && isProgress(text)) {
        std::fprintf(out_, "\r\033[K%s", forOut(text).c_str());
        progressOpen_ = true;
    } else {
        endProgressLine();
        std::fprintf(out_, "%s\n", forOut(text).c_str());
    }
    std::fflush(out_);
}

void ConsoleFrontend::reportError(const std::string& text, bool /*sound*/) {
    endProgressLine();
    errorReported_ = true;
    std::fprintf(err_, "%s\n", forErr(text).c_str());
    std::fflush(err_);
}

void ConsoleFrontend::setTitle(const std::string& title) {
    endProgressLine();
    std::fprintf(out_, "Title: %s\n", forOut(title).c_str());
    std::fflush(out_);
}

}  // namespace cli
