#include <cstdio>

#include "cli/terminal.h"

namespace cli {

std::string EscapeControlBytes(const std::string& text) {
    constexpr unsigned char kDelete = 0x7F;
    std::string shown;
    shown.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\n' && c != '\t') || byte == kDelete) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace cli
