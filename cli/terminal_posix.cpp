#include <unistd.h>

#include "cli/terminal.h"

namespace cli {

bool IsTerminal(std::FILE* stream) {
    return stream != nullptr && ::isatty(::fileno(stream)) != 0;
}

}  // namespace cli
