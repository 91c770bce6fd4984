#include "cli/arguments.h"

namespace cli {

// File names are bytes here; a UTF-8 system's names are UTF-8 already.
std::vector<std::string> Utf8Arguments(int argc, const char* const* argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

}  // namespace cli
