#pragma once
// Runs one vantorctl command with the console as front end; returns the exit status.
#include "protocol_tool/vantorctl/options.h"

namespace vantorctl {

int RunCommand(const Options& options);

}  // namespace vantorctl
