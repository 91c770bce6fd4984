#pragma once
// A Frontend for tests: records every call as one line of text and answers questions from
// a script (No once the script is used up).
#include <deque>
#include <string>
#include <vector>

#include "common/frontend.h"

namespace common {

class RecordingFrontend final : public Frontend {
  public:
    void message(const std::string& text) override { record("message", text); }
    bool ask(const std::string& text) override {
        record("ask", text);
        if (answers_.empty()) return false;
        bool answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    void setStatus(const std::string& text) override {
        record("status", text);
        status_ = text;
        statusIsError_ = false;
    }
    // Recorded as the status text it shows, and kept as progress.
    void progress(const Progress& report) override {
        setStatus(report.status);
        progress_.push_back(report);
    }
    void reportError(const std::string& text, bool sound) override {
        record(sound ? "error+sound" : "error", text);
        status_ = text;
        statusIsError_ = true;
    }
    void setBusy(bool busy) override {
        record("busy", busy ? "on" : "off");
        busy_ = busy;
    }
    void setTitle(const std::string& title) override { record("title", title); }

    void answer(bool yes) { answers_.push_back(yes); }

    // "kind: text" per call, in order.
    const std::vector<std::string>& calls() const { return calls_; }
    // Only the texts of one kind of call ("status", "message", "ask", "error+sound", ...).
    std::vector<std::string> texts(const std::string& kind) const {
        std::vector<std::string> out;
        for (const auto& [k, t] : entries_)
            if (k == kind) out.push_back(t);
        return out;
    }
    // The progress reports, in order.
    const std::vector<Progress>& progressReports() const { return progress_; }
    const std::string& status() const { return status_; }
    bool statusIsError() const { return statusIsError_; }
    bool busy() const { return busy_; }
    void clear() {
        calls_.clear();
        entries_.clear();
        progress_.clear();
    }

  private:
    void record(const std::string& kind, const std::string& text) {
        calls_.push_back(kind + ": " + text);
        entries_.emplace_back(kind, text);
    }
    std::deque<bool> answers_;
    std::vector<std::string> calls_;
    std::vector<std::pair<std::string, std::string>> entries_;
    std::vector<Progress> progress_;
    std::string status_;
    bool statusIsError_ = false;
    bool busy_ = false;
};

}  // namespace common
