#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "cli/terminal.h"

namespace cli {

bool IsTerminal(std::FILE* stream) {
    return stream != nullptr && ::isatty(::fileno(stream)) != 0;
}

bool CanEraseLine(std::FILE* stream) {
    const char* type = std::getenv("TERM");
    return IsTerminal(stream) && (type == nullptr || std::strcmp(type, "dumb") != 0);
}

}  // namespace cli
