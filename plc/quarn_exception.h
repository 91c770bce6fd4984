#pragma once
// The communication exception of the PLC tool: a missing or wrong answer from the PLC ends
// the operation in progress. The operation the user started catches it and shows its own
// abort text.
#include <string>

namespace plc {

inline constexpr const char* kTimeoutText = "Comunication error: Timeout";
inline constexpr const char* kWrongQuitCharText = "Comunication error: Wrong quit char";
inline constexpr const char* kFailedText = "Comunication error:";

// Thrown by value and caught by reference; carries only its message.
class CQuarnException {
  public:
    explicit CQuarnException(std::string message) : message_(std::move(message)) {}
    virtual ~CQuarnException() = default;
    const std::string& message() const { return message_; }

  private:
    std::string message_;
};

// Throws "Comunication error:" when the flag is set.
inline void ThrowIfFailed(bool failed) {
    if (failed) throw CQuarnException(kFailedText);
}

}  // namespace plc
