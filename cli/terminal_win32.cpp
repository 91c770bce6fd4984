#include <io.h>

#include "cli/terminal.h"

namespace cli {

bool IsTerminal(std::FILE* stream) {
    return stream != nullptr && ::_isatty(::_fileno(stream)) != 0;
}

}  // namespace cli
