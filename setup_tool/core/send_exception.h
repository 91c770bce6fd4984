#pragma once
// The one communication failure of the setup transfer: a missing or wrong acknowledgement
// of a setup command. Thrown by value, caught by SendSetup, which shows its text.
#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace setup {

class CSendException {
  public:
    static constexpr std::size_t kMessageSize = 256;  // text and its terminating NUL

    explicit CSendException(std::string_view text) {
        const std::size_t length = std::min(text.size(), kMessageSize - 1);
        std::memcpy(message_.data(), text.data(), length);
        message_[length] = '\0';
    }
    virtual ~CSendException() = default;
    const char* what() const { return message_.data(); }

  private:
    std::array<char, kMessageSize> message_{};
};

// The only two texts it carries.
inline constexpr const char* kTimeoutText = "Timeout";
inline constexpr const char* kWrongChecksumText = "Wrong checksum";

}  // namespace setup
