#include "cli/command_line.h"

namespace cli {

// SUITE_VERSION comes from the build, from the project's version.
const char* SuiteVersion() {
    return SUITE_VERSION;
}

}  // namespace cli
