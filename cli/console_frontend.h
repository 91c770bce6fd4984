#pragma once
// The Frontend of the command-line tools: status texts on standard output as they are set
// (a byte-progress line rewrites itself when standard output is a terminal), messages and
// errors on standard error, questions answered by --yes, by the technician at the terminal,
// or No when nobody can be asked. On a terminal, control bytes in the texts (which may come
// from the device) are shown as \xHH; redirected output keeps them as they are.
#include <cstdio>
#include <string>
#include <vector>

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

    // Status texts that only count bytes rewrite one line on a terminal; these prefixes say
    // which texts those are (for example "Write " or "Read ").
    void setProgressPrefixes(std::vector<std::string> prefixes) { progress_ = std::move(prefixes); }
    // The same for texts recognised by their end (" Bytes transfered").
    void setProgressSuffixes(std::vector<std::string> suffixes) {
        progressSuffixes_ = std::move(suffixes);
    }
    // True once an error was reported: the tool's exit status then says failure.
    bool errorReported() const { return errorReported_; }

  private:
    void endProgressLine();
    bool isProgress(const std::string& text) const;
    std::string forOut(const std::string& text) const;
    std::string forErr(const std::string& text) const;
    bool assumeYes_;
    std::FILE* out_;
    std::FILE* err_;
    bool outIsTerminal_;
    bool errIsTerminal_;
    bool inIsTerminal_;
    bool progressOpen_ = false;
    bool errorReported_ = false;
    std::vector<std::string> progress_;
    std::vector<std::string> progressSuffixes_;
};

// Strips one trailing "\n" (message texts such as "No USB Serial converter found\n").
std::string WithoutTrailingNewline(std::string text);

}  // namespace cli
