#include "cli/terminal.h"

namespace cli {

namespace {
constexpr char kEraseToEndOfLine[] = "\033[K";
}  // namespace

std::string RewriteLine(const std::string& text, std::size_t previousWidth, bool canErase) {
    std::string bytes = "\r" + text;
    if (canErase)
        bytes += kEraseToEndOfLine;
    else if (previousWidth > text.size())
        bytes.append(previousWidth - text.size(), ' ');
    return bytes;
}

}  // namespace cli
